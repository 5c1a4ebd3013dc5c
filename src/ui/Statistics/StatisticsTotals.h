#pragma once

#include "settings/CellTable.h"

#include <QString>

// The sums over the rows of a run's statistics table.
struct StatisticsTotals {
    int files = 0;
    qint64 occurrences = 0;
    qint64 replacements = 0;
    // Rows without a replacement (every match declined) or without counts
    // ("out of memory", a file that could not be read): files the run did not
    // rewrite. A write that failed after replacements is not in the table.
    int notWritten = 0;
};

StatisticsTotals SumStatistics(const PathTable &statistics);

// "Files: 3, occurences: 12, replacements: 10, files not written: 1"
QString TotalsText(const StatisticsTotals &totals);
