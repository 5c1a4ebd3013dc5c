#include "ui/Statistics/StatisticsTotals.h"

#include "engine/run/FileProcessor.h"

StatisticsTotals SumStatistics(const PathTable &statistics)
{
    StatisticsTotals totals;
    for (const PathTable::Row &row : statistics.entries()) {
        ++totals.files;
        bool counted = false;
        const qint64 replacements = row[StatisticsReplacements].toLongLong(&counted);
        totals.occurrences += row[StatisticsOccurrences].toLongLong();
        totals.replacements += replacements;
        if (!counted || replacements == 0)
            ++totals.notWritten;
    }
    return totals;
}

QString TotalsText(const StatisticsTotals &totals)
{
    return QStringLiteral("Files: %1, occurences: %2, replacements: %3, files not written: %4")
        .arg(totals.files)
        .arg(totals.occurrences)
        .arg(totals.replacements)
        .arg(totals.notWritten);
}
