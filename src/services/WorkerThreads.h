#pragma once

#include <QByteArray>

// The number of threads a run may use, from the environment variable
// SARVONEX_THREADS (a positive number; 1 does everything on the run's own
// thread); 0, the machine's choice, when it is unset or not such a number.
// It is meant for measuring and for tracking down a fault.
int WorkerThreadsFrom(const QByteArray &value);
int WorkerThreadsFromEnvironment();
