#include "engine/run/ReadAhead.h"

#include "engine/run/PumpedWait.h"
#include "engine/run/SilentHost.h"

namespace {

// The content read ahead and not yet taken stays below this, but for the
// next file; large files are then read ahead one or two at a time.
constexpr qint64 BytesAhead = 16 * 1024 * 1024;

} // namespace

ReadAhead::ReadAhead(std::vector<Entry> entries, std::optional<Pairs> pairs, const Job &job,
                     int threads)
    : m_entries(std::move(entries)), m_pairs(std::move(pairs)), m_job(job)
{
    m_ready.resize(m_entries.size());
    // Two files per thread keep every thread busy while the run's thread
    // handles the file before; more would only hold memory.
    m_depth = threads > 0 ? 2 * threads : 0;
    if (threads > 0)
        m_pool.setMaxThreadCount(threads);
    if (m_pairs) {
        m_workerState.unattended = m_pairs->unattended;
        m_workerState.PromptEachReplacement = false;
    }
}

ReadAhead::~ReadAhead()
{
    cancel();
    m_pool.clear();
    m_pool.waitForDone();
}

void ReadAhead::cancel()
{
    m_workerState.requestBreak();
}

qint64 ReadAhead::sizeOf(int index) const
{
    const Entry &entry = m_entries[size_t(index)];
    return entry.collected ? qint64(entry.collected->size) : 0;
}

void ReadAhead::scheduleAhead()
{
    const int count = int(m_entries.size());
    while (m_scheduled < count && m_scheduled - m_taken < m_depth
           && (m_scheduled == m_taken || m_bytesAhead + sizeOf(m_scheduled) <= BytesAhead)) {
        auto task = std::make_shared<std::packaged_task<PreparedFile()>>(
            [this, i = m_scheduled] { return prepare(m_entries[size_t(i)]); });
        m_ready[size_t(m_scheduled)] = task->get_future();
        m_pool.start([task] { (*task)(); });
        m_bytesAhead += sizeOf(m_scheduled);
        ++m_scheduled;
    }
}

PreparedFile ReadAhead::take(int index, const std::function<void()> &whileWaiting)
{
    if (m_depth == 0)
        return prepare(m_entries[size_t(index)]);
    scheduleAhead();
    std::future<PreparedFile> &ready = m_ready[size_t(index)];
    WaitPumping(ready, whileWaiting);
    PreparedFile prepared = ready.get();
    m_bytesAhead -= sizeOf(index);
    m_taken = index + 1;
    // The workers go on with the next files while this one is handled.
    scheduleAhead();
    return prepared;
}

PreparedFile ReadAhead::prepare(const Entry &entry)
{
    PreparedFile prepared;
    prepared.loaded = LoadFile(entry.path, entry.collected);
    if (!m_pairs || prepared.loaded.result != LoadedFile::Result::Read
        || m_workerState.breakRequested())
        return prepared;

    LoadedFile &loaded = prepared.loaded;
    const int coding = EffectiveCoding(loaded.content.detection, entry.requiredCoding);
    prepared.pairsApplied = true;
    // A binary file the user never wants modified keeps its content.
    if (m_pairs->binaryFiles == BinarySkip && loaded.content.hasNonPrintable(coding))
        return prepared;

    SilentHost host;
    RunContext run{host, m_workerState, m_job};
    prepared.changed = ApplyStringPairs(loaded.buffer, m_pairs->pairs, entry.path,
                                        prepared.counters, coding,
                                        loaded.content.detection.bomLength, run);
    // A file that stays as it is is let go here, not on the run's thread,
    // which every file passes through.
    if (!prepared.changed) {
        loaded.held = HeldFile();
        loaded.buffer.release();
    }
    return prepared;
}
