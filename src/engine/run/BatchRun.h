#pragma once

// The run library answers "what happens to the job's files?": collecting
// them, reading ahead, applying the pairs with the host's confirmation,
// writing on worker threads and reporting to the host. It is the only engine
// library that talks to the user, through RunHost.

#include "engine/run/RunContext.h"
#include "settings/CellTable.h"

#include <functional>

// The Find & Replace command: collect the job's files, process them one by
// one, report progress and show the statistics. Owns the run's flags; the
// host reflects them (enabled commands, status bar, title).
class BatchRun
{
public:
    // `files` is the collected list, `statistics` the statistics table; both
    // keep their rows after the run, until the next one.
    BatchRun(RunContext &run, PathTable &files, PathTable &statistics);

    // Called before collection when "Save settings automatically" is on; it
    // writes the job to its settings file and clears its modified mark.
    // Errors it throws travel to the caller of FindAndReplaceMnuClick.
    void setAutomaticSave(std::function<void()> save) { m_automaticSave = std::move(save); }

    void FindAndReplaceMnuClick();

    // Processes every file in the collected list (the user may have trimmed
    // it). Validates that the job has string pairs first.
    void ProcessFileList();

    // Break Process: asks for confirmation, then lets the run stop after the
    // current file.
    void BreakProcessBtnClick();

    bool RunActive() const { return m_runActive; }
    bool Processing() const { return m_processing; }

private:
    void setProcessing(bool processing);

    RunContext &m_run;
    PathTable &m_files;
    PathTable &m_statistics;
    std::function<void()> m_automaticSave;
    bool m_runActive = false;
    bool m_processing = false;
};

// The exit code of a run that did everything asked but could not record it
// in its journal, so that it cannot be undone.
constexpr int UnrecordedRunExitCode = 3;

// The exit code an unattended run ends with: a validation failure's code,
// else 1 when a file could not be read or written, else
// UnrecordedRunExitCode when the journal could not be written, else 0.
int UnattendedExitCode(int validationExitCode, const RunState &state);
