#pragma once

#include "engine/files/SearchFolder.h"
#include "engine/run/RunContext.h"
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

// The n-th tab-separated field of a line (from 0); empty when there is none.
QString TabField(const QString &line, int n);

// Clears the table and writes the lines into rows from 1, split at the tabs.
void FillGridFromList(const QStringList &list, PathTable &grid);
