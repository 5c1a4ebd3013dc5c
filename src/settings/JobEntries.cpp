#include "settings/JobEntries.h"

#include "settings/DisplayCharsets.h"
#include "settings/PairOptions.h"

FolderEntry FolderEntry::fromRow(const TextTable::Row &cells)
{
    FolderEntry e;
    e.folder = cells.value(0);
    const QString depth = cells.value(1);
    if (depth == QLatin1String(DepthFirstLevel))
        e.depth = 1;
    else if (depth == QLatin1String(DepthAllLevels))
        e.depth = Unlimited;
    e.skipBackups = cells.value(2) != QLatin1String("+B");
    return e;
}

FileTypeEntry FileTypeEntry::fromRow(const TextTable::Row &cells)
{
    return {cells.value(0), cells.value(1), cells.value(2)};
}

StringPair StringPair::fromRow(const TextTable::Row &cells)
{
    return {cells.value(0), cells.value(1), cells.value(2)};
}

const DisplayCharset &AnsiCharsetOfPairs(const TextTable &pairs)
{
    for (const TextTable::Row &row : pairs.entries()) {
        const DisplayCharset &charset = StringPair::fromRow(row).charset();
        if (charset.codePage)
            return charset;
    }
    return DisplayCharsetOrDefault("Default");
}

const DisplayCharset &StringPair::charset() const
{
    return DisplayCharsetOrDefault(PairOptionsFromText(options.toLatin1()).displayCharset);
}
