#include "engine/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, EveryByteRoundTrips)
{
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        EXPECT_EQ(CodePage::fromUnicode(CodePage::toUnicode(b)), b) << byte;
    }
}

} // namespace
