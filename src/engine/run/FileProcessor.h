#pragma once

#include "engine/run/ReadAhead.h"
#include "engine/run/RunContext.h"
#include "engine/run/WriteQueue.h"
#include "settings/CellTable.h"

#include <QString>

// Columns of the statistics table.
enum StatisticsColumn { StatisticsPath = 0, StatisticsOccurrences = 1, StatisticsReplacements = 2 };

// A table for the statistics, headed "File name", "Occurences", "Replacements".
PathTable *newStatisticsTable(QObject *parent = nullptr);

// Takes one file through its whole life in a run: read, work out its coding,
// the binary question, every string pair of the job, the back-up, the
// read-only question, the write (atomic: the file is either wholly old or
// wholly new), time stamp and attributes, and its statistics row. Never
// throws; every failure is reported through the host.
void ProcessFile(const QString &path, int requiredCoding, PathTable &statistics,
                 RunContext &run);

// The same for a file of a batch: `prepared` was read (and maybe had its
// pairs applied) ahead, and the write goes to `writes`, whose results are to
// be given to ReportWrite.
void ProcessFile(const QString &path, int requiredCoding, PreparedFile prepared,
                 PathTable &statistics, RunContext &run, WriteQueue &writes);

// Tells the user about a write that did not succeed, or that the run's
// journal could not record one that did. A failed write stops the batch.
void ReportWrite(const WriteResult &write, RunContext &run);

// Waits until the run's journal is on disk; tells the user when it is not.
void FinishJournal(RunContext &run);
