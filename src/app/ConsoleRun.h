#pragma once

#include <QString>

// Runs the job of a settings file unattended, without any window: collection,
// processing and the exit code. Returns the exit code: 0, or 1 when the run
// could not do what was asked (the file is missing or cannot be read, the job
// fails validation, a file could not be read or written or ran out of memory).
int RunUnattended(const QString &settingsFile);
