#pragma once

#include <QStringList>

// How `sarvonex replace` is used, for its own --help and the program's.
extern const char ReplaceUsage[];

// `sarvonex replace [OPTIONS] [--] FIND REPLACE [PATH...]`: `arguments` are
// those after "replace". Builds the job the command line describes and runs
// it unattended (or previews it, or saves it), never opening a window.
// Returns the exit code: 0 when the run did what was asked, 1 when a file
// could not be read or written or the job was refused, 2 for a command line
// it does not take (the reason and the usage go to standard error).
int RunReplaceCommand(int argc, char *argv[], const QStringList &arguments);
