#include "services/WorkerThreads.h"

#include <QtGlobal>

namespace {
constexpr int MaxThreads = 256;
}

int WorkerThreadsFrom(const QByteArray &value)
{
    bool ok = false;
    const int threads = value.trimmed().toInt(&ok);
    return ok && threads > 0 ? qMin(threads, MaxThreads) : 0;
}

int WorkerThreadsFromEnvironment()
{
    return WorkerThreadsFrom(qgetenv("SARVONEX_THREADS"));
}
