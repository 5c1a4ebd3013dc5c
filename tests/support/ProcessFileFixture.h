#pragma once

#include "engine/ByteBuffer.h"
#include "engine/FileProcessor.h"
#include "settings/FileEncoding.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

// A job, a run and a temporary folder for tests of ProcessFile. Replacements
// are made without confirmation unless a test turns prompting on.
class ProcessFileFixture : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedHost host;
    RunState state;
    Job job;
    RunContext run{host, state, job};
    std::unique_ptr<PathTable> statistics{newStatisticsTable()};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        state.PromptEachReplacement = false;
        job.stringPairs().AppendRow({"old", "new", ""});
    }

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

    void process(const QString &path, int requiredCoding = 0)
    {
        ProcessFile(path, requiredCoding, *statistics, run);
    }

    // What the batch run resets before the first file of a run.
    void startNextRun()
    {
        state.BackUpFolders.clear();
        state.AskBinary = state.AskReadOnly = state.AskBackUpFailure = true;
        state.BreakRequested = false;
        statistics->ClearGrid();
    }

    PathTable::Row statisticsRow(int row) const { return statistics->row(row); }

    static mode_t modeOf(const QString &path)
    {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    }

    static void setMode(const QString &path, mode_t mode)
    {
        ::chmod(QFile::encodeName(path).constData(), mode);
    }
};
