#pragma once

struct RunState;

// In a console run, Ctrl+C (SIGINT) and SIGTERM act as Break Process while
// files are processed: the run stops after the current file, which is
// finished or left unwritten exactly as a break from the window would.
// Further signals do the same and never end the process in the middle of a
// write. At any other time (reading the job, collecting the files) nothing
// is being written, and a signal ends the program at once.
namespace BreakSignals {

void install(RunState &state);

// The run started or stopped processing files.
void setProcessing(bool processing);

// A run resets its break flag when it starts processing; this sets it again
// when a signal came before that.
void reassert();

// The signal that stopped the run; 0 when none came.
int received();

// The exit code of a program a signal stopped: 128 + the signal's number.
int exitCode();

} // namespace BreakSignals
