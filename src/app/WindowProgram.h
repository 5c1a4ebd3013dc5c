#pragma once

// The main window lives in a program of its own (sarvonex-window), so that
// the runs without a window (the console run, the replace command, the
// preview, the undo, --help and --version) load no window-system libraries
// and start quickly. It is looked for beside this program (a build folder),
// then where an installation puts it (libexec/sarvonex/ under the prefix).

// Replaces this process by the window program, with the same arguments
// (argv as main received it). Returns only when that cannot be done, after
// saying why on standard error; the exit code is then 1.
int ExecWindowProgram(char *argv[]);
