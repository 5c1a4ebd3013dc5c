#pragma once

#include "engine/RunContext.h"
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
