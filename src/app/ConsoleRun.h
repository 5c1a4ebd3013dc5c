#pragma once

#include <QString>

class PreviewReceiver;

// Runs the job of a settings file unattended, without any window: collection,
// processing and the exit code. Returns the exit code: 0, or 1 when the run
// could not do what was asked (the file is missing or cannot be read, the job
// fails validation, a file could not be read or written or ran out of memory).
// The files it writes are recorded in a run journal, for an undo.
//
// With `preview` the run is made exactly so but writes nothing (no file, no
// back-up copy, no settings file): what would change goes to `preview`.
int RunUnattended(const QString &settingsFile, PreviewReceiver *preview = nullptr);
