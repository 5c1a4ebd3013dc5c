#include "app/BreakSignals.h"

#include "engine/run/RunState.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

static_assert(std::atomic<bool>::is_always_lock_free,
              "the break flag is set from a signal handler");

RunState *g_state = nullptr;
volatile std::sig_atomic_t g_received = 0;
volatile std::sig_atomic_t g_processing = 0;

extern "C" void onBreakSignal(int signal)
{
    g_received = signal;
    if (!g_processing) {
        const char message[] = "The run was stopped by a signal before any file was written.\n";
        (void)::write(STDERR_FILENO, message, sizeof message - 1);
        ::_exit(128 + signal);
    }
    if (g_state)
        g_state->requestBreak();
}

} // namespace

namespace BreakSignals {

void install(RunState &state)
{
    g_state = &state;
    struct sigaction action = {};
    action.sa_handler = onBreakSignal;
    sigemptyset(&action.sa_mask);
    // Later signals break again rather than kill: a file with more than one
    // hard link is written in place, and ending the process in the middle of
    // that write would leave it damaged. The break itself is prompt.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void setProcessing(bool processing)
{
    g_processing = processing;
}

void reassert()
{
    if (g_received && g_state)
        g_state->requestBreak();
}

int received()
{
    return g_received;
}

int exitCode()
{
    return 128 + g_received;
}

} // namespace BreakSignals
