#include "settings/JobEntries.h"

FolderEntry FolderEntry::fromRow(const TextTable::Row &cells)
{
    FolderEntry e;
    e.folder = cells.value(0);
    const QByteArray depth = cells.value(1);
    if (depth == DepthFirstLevel)
        e.depth = 1;
    else if (depth == DepthAllLevels)
        e.depth = Unlimited;
    e.skipBackups = cells.value(2) != "+B";
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
