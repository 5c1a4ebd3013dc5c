#pragma once

#include "engine/run/FileProcessor.h"
#include "settings/FileEncoding.h"
#include "support/RunFixture.h"

#include <QDir>
#include <QFile>
#include <memory>
#include <sys/stat.h>

// Tests of ProcessFile. Replacements are made without confirmation unless a
// test turns prompting on.
class ProcessFileFixture : public RunFixture
{
protected:
    std::unique_ptr<PathTable> statistics{newStatisticsTable()};

    void SetUp() override
    {
        RunFixture::SetUp();
        state.PromptEachReplacement = false;
        job.stringPairs().AppendRow({"old", "new", ""});
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
