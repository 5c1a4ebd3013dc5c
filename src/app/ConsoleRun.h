#pragma once

#include <QString>
#include <functional>

class ConsoleHost;
class Job;
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

// What a console run needs besides its job and its host.
struct ConsoleRunSetup {
    QString jobPath;                     // names the job in the run journal
    PreviewReceiver *preview = nullptr;  // a preview writes nothing
    int workerThreads = 0;               // as RunState::workerThreads
    // Saves the job when its "Save settings automatically" option is on; it
    // may throw SettingsFileError.
    std::function<void()> automaticSave;
};

// Runs `job` unattended through `host`, as RunUnattended does once the job is
// read, and returns the exit code.
int RunJobUnattended(const Job &job, ConsoleHost &host, const ConsoleRunSetup &setup);
