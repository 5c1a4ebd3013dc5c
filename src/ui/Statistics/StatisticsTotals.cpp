#include "ui/Statistics/StatisticsTotals.h"

#include "engine/run/FileProcessor.h"

StatisticsTotals SumStatistics(const PathTable &statistics)
{
    StatisticsTotals totals;
    for (const PathTable::Row &row : statistics.entries()) {
        ++totals.files;
        // Rows without counts ("out of memory") add nothing.
        totals.occurrences += row[StatisticsOccurrences].toLongLong();
        totals.replacements += row[StatisticsReplacements].toLongLong();
    }
    return totals;
}

QString TotalsText(const StatisticsTotals &totals)
{
    return QStringLiteral("Files: %1, occurences: %2, replacements: %3")
        .arg(totals.files)
        .arg(totals.occurrences)
        .arg(totals.replacements);
}
