#pragma once

#include "engine/ByteBuffer.h"
#include "engine/RunContext.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// A job, a scripted host, the run's state and a temporary folder for tests
// that run parts of a Find & Replace run on real files.
class RunFixture : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedHost host;
    RunState state;
    Job job;
    RunContext run{host, state, job};

    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { ByteBuffer::setAllocationLimit(-1); }

    void changeOptions(const std::function<void(RunOptions &)> &change)
    {
        RunOptions options = job.options();
        change(options);
        job.setOptions(options);
    }

    QString makeFile(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        TestFiles::write(path, content);
        return path;
    }
};
