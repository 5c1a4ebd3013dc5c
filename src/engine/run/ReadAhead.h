#pragma once

#include "engine/run/ApplyStringPair.h"
#include "engine/run/LoadedFile.h"
#include "engine/run/RunState.h"
#include "settings/Job.h"

#include <QThreadPool>
#include <functional>
#include <future>
#include <optional>
#include <vector>

// A file made ready for its turn in a run: read, classified and, where no
// question can come up in the middle of a file, with every pair applied.
struct PreparedFile {
    LoadedFile loaded;
    bool pairsApplied = false;
    bool changed = false; // with pairsApplied: as ApplyStringPairs returned
    FileCounters counters;
};

// Worker threads that prepare the files of a run's list ahead of the run's
// thread, a few files ahead, in list order. The work they do touches nothing
// but the file's content: it never writes and never asks; what it finds is
// shown when the run's thread takes the file.
class ReadAhead
{
public:
    struct Entry {
        QString path;
        int requiredCoding = 0;
        std::optional<CollectedIdentity> collected;
    };

    // What applying the pairs ahead needs; it must not change during the run.
    struct Pairs {
        QList<TextTable::Row> pairs;
        int binaryFiles = 0;
        bool unattended = false;
    };

    // With no threads nothing is done ahead: each file is loaded when taken.
    // Without `pairs` the workers read and classify only.
    ReadAhead(std::vector<Entry> entries, std::optional<Pairs> pairs, const Job &job,
              int threads);
    ~ReadAhead();

    const Entry &entry(int index) const { return m_entries[size_t(index)]; }

    // The file at `index`; each index is taken once, in increasing order.
    // `whileWaiting` is called every few milliseconds until it is ready.
    PreparedFile take(int index, const std::function<void()> &whileWaiting);

    // Work in progress stops soon; what it gives is not to be used.
    void cancel();

private:
    void scheduleAhead();
    qint64 sizeOf(int index) const;
    PreparedFile prepare(const Entry &entry);

    std::vector<Entry> m_entries;
    std::optional<Pairs> m_pairs;
    const Job &m_job;
    std::vector<std::future<PreparedFile>> m_ready;
    int m_scheduled = 0;
    int m_taken = 0;
    int m_depth = 0;
    qint64 m_bytesAhead = 0;
    // Shared by the workers, read only but for its break flag, which
    // cancel() sets: the pairs being applied stop at their next chunk.
    RunState m_workerState;
    QThreadPool m_pool;
};
