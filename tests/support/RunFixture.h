#pragma once

#include "engine/files/ByteBuffer.h"
#include "engine/run/BatchRun.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "engine/run/RunContext.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>
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

// The same with the collected list, the statistics and a whole batch run.
class BatchRunFixture : public RunFixture
{
protected:
    std::unique_ptr<PathTable> files{newFileListTable()};
    std::unique_ptr<PathTable> statistics{newStatisticsTable()};
    BatchRun batch{run, *files, *statistics};

    // The *.txt files of the folder, "old" to "new", no prompt, no back-up.
    void useOldToNewJob()
    {
        job.folders().AppendRow({dir.path().toUtf8(), "None", "-B"});
        job.fileTypes().AppendRow({"*.txt", "Auto", ""});
        job.stringPairs().AppendRow({"old", "new", "(--)[Default]"});
        changeOptions([](RunOptions &o) {
            o.promptEachReplace = false;
            o.backupMode = BackupNone;
        });
    }
};
