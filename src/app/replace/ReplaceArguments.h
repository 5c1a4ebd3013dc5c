#pragma once

#include "settings/JobEntries.h"
#include "settings/RunOptions.h"

#include <QString>
#include <QStringList>
#include <optional>

// What a `sarvonex replace` command line asks for, checked: every value is
// one a job and its run can take.
struct ReplaceRequest {
    QString find;
    QString replace;
    QStringList paths; // absolute and clean; the current folder when none was given
    QStringList globs; // included file masks; "*" when none was given
    QStringList excludes;
    int depth = FolderEntry::Unlimited; // 0, 1 or Unlimited: what a folder entry holds
    bool ignoreCase = false;
    bool wholeWords = false;
    bool regex = false;  // FIND is a regular expression, REPLACE a template
    int encoding = 0; // a FileEncoding number
    int backupMode = BackupNone;
    QString backupName; // the back-up folder's name or the copies' prefix
    int binaryFiles = BinarySkip;
    int readOnlyFiles = ReadOnlySkip;
    bool preview = false;
    QString color = QStringLiteral("auto"); // auto, always or never
    bool json = false;
    QString saveJob; // write this job file instead of running
    int threads = 0; // as RunState::workerThreads
    bool help = false;
};

// A parsed command line: the request, or the one-line reason it was refused.
struct ParsedReplace {
    std::optional<ReplaceRequest> request;
    QString error;
};

// Reads the arguments that follow "replace". Options and paths may come in
// any order; "--" ends the options. Long options take their value after "="
// or as the next argument, short ones directly ("-j4") or as the next
// argument, and flags may be grouped ("-iw").
ParsedReplace ParseReplaceArguments(const QStringList &arguments);

// The command line's names of the file codings: auto, ansi, utf-8, utf-16le,
// utf-16be for the FileEncoding numbers 0..4; empty text for any other.
QString CodingOptionName(int coding);
