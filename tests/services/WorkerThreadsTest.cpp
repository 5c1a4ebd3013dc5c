#include "services/WorkerThreads.h"

#include <gtest/gtest.h>

TEST(WorkerThreads, OnlyAPositiveNumberChoosesTheThreads)
{
    const struct {
        QByteArray value;
        int threads;
    } cases[] = {{"", 0}, {"1", 1}, {" 4\n", 4}, {"0", 0}, {"-2", 0}, {"two", 0}, {"3x", 0},
                 {"100000", 256}};
    for (const auto &c : cases)
        EXPECT_EQ(WorkerThreadsFrom(c.value), c.threads) << c.value.constData();
}
