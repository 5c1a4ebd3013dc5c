#pragma once

#include "engine/CollectedIdentity.h"
#include "engine/RunContext.h"
#include "settings/CellTable.h"

#include <QString>
#include <QStringList>

// Columns of the collected file list.
enum FileListColumn { FileListPath = 0, FileListDateTime = 1, FileListCoding = 2 };

// A table for the collected list, headed "File name", "Date/time", "Coding".
PathTable *newFileListTable(QObject *parent = nullptr);

// Turns the job's folder and file-type entries into the sorted list of files
// a run processes, in `files`. A file reached under several names (links, or
// folder entries that overlap through a linked folder) is listed once, under
// the first name found. Each listed file's identity goes to the run state. Validates first (no folder, no file type: the
// designed message, or exit code 1 in an unattended run). With `showList` the
// host shows the list for review. Returns true when `files` holds at least one
// file and the run may start.
bool CollectFiles(bool showList, PathTable &files, RunContext &run);

// One file the walk found.
struct WalkedFile {
    QString path;
    QString lastWrite; // the date-time text of the file list
    CollectedIdentity identity;
};

// Walks `folder` (with a trailing "/") to `depth` (0, 1 or
// FolderEntry::Unlimited) and appends every file matching `mask` to
// `target`. Files whose names begin with `skipPrefix` and folders whose names
// begin with `skipFolderName` (when not empty) are left out. Never changes
// the process's current folder.
void SearchFolder(const QString &folder, const QString &mask, QList<WalkedFile> &target,
                  const QString &skipPrefix, const QString &skipFolderName, int depth);

// The n-th tab-separated field of a line (from 0); empty when there is none.
QString TabField(const QString &line, int n);

// Clears the table and writes the lines into rows from 1, split at the tabs.
void FillGridFromList(const QStringList &list, PathTable &grid);
