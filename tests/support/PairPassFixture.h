#pragma once

#include "engine/run/ApplyStringPair.h"
#include "support/ScriptedHost.h"

#include <cstring>
#include <gtest/gtest.h>

// What a test of one string pair's pass over a buffer needs: a scripted
// host, the run's state (prompting off), a job and the file's counters.
class PairPassFixture : public ::testing::Test
{
protected:
    ScriptedHost host;
    RunState state;
    Job job;
    RunContext run{host, state, job};
    FileCounters counters;
    bool changed = false;

    void SetUp() override { state.PromptEachReplacement = false; }
    void TearDown() override { ByteBuffer::setAllocationLimit(-1); }

    static ByteBuffer bufferOf(const QByteArray &bytes)
    {
        ByteBuffer buffer;
        EXPECT_TRUE(buffer.allocate(qMax<qint64>(bytes.size(), 1)));
        std::memcpy(buffer.data(), bytes.constData(), size_t(bytes.size()));
        buffer.setLength(bytes.size());
        return buffer;
    }

    static QByteArray contentOf(const ByteBuffer &buffer)
    {
        return QByteArray(buffer.data(), buffer.length());
    }
};
