#pragma once

#include "settings/CellTable.h"

#include <QString>

// The sums over the rows of a run's statistics table. There is no count of
// files written: a row stands for a file in which the strings occurred,
// whether the run then wrote it, skipped it (read-only, a failed back-up, a
// Cancel) or failed to write it, and the table cannot tell these apart.
struct StatisticsTotals {
    int files = 0;
    qint64 occurrences = 0;
    qint64 replacements = 0;
};

StatisticsTotals SumStatistics(const PathTable &statistics);

// "Files: 3, occurences: 12, replacements: 10"
QString TotalsText(const StatisticsTotals &totals);
