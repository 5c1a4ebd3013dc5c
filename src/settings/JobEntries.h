#pragma once

#include "settings/CellTable.h"

struct DisplayCharset;

#include <QString>

// Readings of the cells of one row of the job's lists.

struct FolderEntry {
    static constexpr int Unlimited = -1;

    QString folder;
    int depth = 0;            // 0 the folder alone, 1 with direct subfolders, Unlimited
    bool skipBackups = true;  // off only for the exact flag "+B"

    static FolderEntry fromRow(const TextTable::Row &cells);
};

// Depth texts of the folder entry cell 1.
inline constexpr const char *DepthNone = "None";
inline constexpr const char *DepthFirstLevel = "1st level";
inline constexpr const char *DepthAllLevels = "All levels";

struct FileTypeEntry {
    QString mask;
    QString encodingName; // empty for excluded types
    QString description;

    static FileTypeEntry fromRow(const TextTable::Row &cells);
};

struct StringPair {
    QString find;    // cell form
    QString replace; // cell form
    QString options; // options text

    // The charset its options text names: how it is spelled in ANSI files.
    const DisplayCharset &charset() const;

    static StringPair fromRow(const TextTable::Row &cells);
};

// The charset ANSI text is shown through where several pairs apply: that of
// the first pair whose charset has a code page of its own, else Windows-1252.
const DisplayCharset &AnsiCharsetOfPairs(const TextTable &pairs);
