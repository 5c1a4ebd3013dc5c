#pragma once

struct RunState;

// In a console run, Ctrl+C (SIGINT) and SIGTERM act as Break Process: the run
// stops after the current file, which is finished or left unwritten exactly as
// a break from the window would. Further signals do the same and never end the
// process in the middle of a write.
namespace BreakSignals {

void install(RunState &state);

// A run resets its break flag when it starts processing; this sets it again
// when a signal came before that.
void reassert();

bool received();

} // namespace BreakSignals
