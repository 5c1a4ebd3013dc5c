#include "ui/DisplayCharsets.h"

#include <gtest/gtest.h>

namespace {

struct RoundTrip {
    const char *charset;
    const char *typed; // UTF-8
    QByteArray stored;
};

class DisplayCharsetRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(DisplayCharsetRoundTrip, TypedTextIsStoredInTheCharsetsCodePageAndShownBack)
{
    const RoundTrip &c = GetParam();
    const DisplayCharset &charset = DisplayCharsetOrDefault(c.charset);
    const std::optional<QByteArray> bytes = EncodeFromDisplay(QString::fromUtf8(c.typed), charset);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, c.stored);
    EXPECT_EQ(DecodeForDisplay(*bytes, charset), QString::fromUtf8(c.typed));
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, DisplayCharsetRoundTrip,
    ::testing::Values(RoundTrip{"Russian", "Привет", QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2")},
                      RoundTrip{"Default", "café €", QByteArray("caf\xE9 \x80")},
                      RoundTrip{"Greek", "αβ", QByteArray("\xE1\xE2")},
                      RoundTrip{"ShiftJis", "日本", QByteArray("\x93\xFA\x96\x7B")},
                      RoundTrip{"No such charset", "é", QByteArray("\xE9")}));

TEST(DisplayCharsets, ACharacterTheCodePageLacksIsRefusedNotTurnedIntoAQuestionMark)
{
    EXPECT_FALSE(EncodeFromDisplay(QString::fromUtf8("Привет"), DisplayCharsetOrDefault("Default")));
    EXPECT_FALSE(EncodeFromDisplay(QString::fromUtf8("é"), DisplayCharsetOrDefault("Russian")));
}

TEST(DisplayCharsets, TheUndefinedAnsiBytesShowAsTheirOwnUnits)
{
    EXPECT_EQ(DecodeForDisplay("\x81", DisplayCharsetOrDefault("Ansi")), QString(QChar(0x81)));
}

TEST(DisplayCharsets, TableOrderIsTheListOrder)
{
    EXPECT_EQ(DisplayCharsetIndex("Ansi"), 0);
    EXPECT_EQ(DisplayCharsetIndex("Default"), 4);
    EXPECT_EQ(DisplayCharsetIndex("Vietnamese"), 18);
    EXPECT_EQ(DisplayCharsetIndex("default"), -1);
}

} // namespace
