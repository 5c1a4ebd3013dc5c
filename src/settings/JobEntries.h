#pragma once

#include "settings/CellTable.h"

#include <QByteArray>

// Readings of the cells of one row of the job's lists.

struct FolderEntry {
    static constexpr int Unlimited = -1;

    QByteArray folder;
    int depth = 0;            // 0 the folder alone, 1 with direct subfolders, Unlimited
    bool skipBackups = true;  // off only for the exact flag "+B"

    static FolderEntry fromRow(const TextTable::Row &cells);
};

// Depth texts of the folder entry cell 1.
inline constexpr const char *DepthNone = "None";
inline constexpr const char *DepthFirstLevel = "1st level";
inline constexpr const char *DepthAllLevels = "All levels";

struct FileTypeEntry {
    QByteArray mask;
    QByteArray encodingName; // empty for excluded types
    QByteArray description;

    static FileTypeEntry fromRow(const TextTable::Row &cells);
};

struct StringPair {
    QByteArray find;    // cell form
    QByteArray replace; // cell form
    QByteArray options; // options text

    static StringPair fromRow(const TextTable::Row &cells);
};
