#include "engine/run/WriteQueue.h"

#include "engine/files/FileAttributes.h"
#include "engine/run/PumpedWait.h"

#include <QScopedValueRollback>
#include <chrono>
#include <sys/statvfs.h>

namespace {
// The content of the writes in flight stays below this, but for one write:
// large files are written a few at a time, small ones many.
constexpr qint64 BytesInFlight = 16 * 1024 * 1024;
} // namespace

WriteResult WriteNow(WriteRequest &request, bool deferFolderSync)
{
    WriteResult result;
    result.path = request.path;
    result.backupPath = request.backupPath;
    result.coding = request.coding;
    result.replacements = request.replacements;
    BeforeReplace record;
    if (request.journal) {
        record = [&request](const FileIdentity &written) {
            request.journal->replacing(request.path, request.asRead, written, request.backupPath,
                                       request.backupIdentity);
        };
    }
    result.outcome = writeFileSafely(
        request.target, request.content.data(), request.content.length(), request.asRead,
        {request.keepModificationTime, std::nullopt, request.attributes, &result.keptCopy,
         deferFolderSync ? &result.folderToSync : nullptr, record});
    struct statvfs room {};
    result.diskFull = result.outcome == WriteOutcome::Failed
        && ::fstatvfs(request.target.folder(), &room) == 0
        && qint64(room.f_bavail) * qint64(room.f_frsize) < request.content.length();
    request.content.release();
    // The attributes of before the write come back, read-only included,
    // whether the write succeeded or not; on the file whose mode the run
    // changed, which a rename has replaced by one that has them already.
    if (request.attributes)
        FileAttributes::restore(request.target.descriptor(), *request.attributes);
    return result;
}

WriteQueue::WriteQueue(int threads, Report report) : m_report(std::move(report))
{
    if (threads > 0) {
        m_pool.setMaxThreadCount(threads);
        // A few writes queue behind each writer, so that the run's thread
        // seldom waits for the oldest; BytesInFlight bounds their memory.
        m_limit = 4 * threads;
    }
}

WriteQueue::~WriteQueue()
{
    m_pool.waitForDone();
    for (Write &write : m_inFlight)
        if (const QByteArray folder = write.result.get().folderToSync; !folder.isEmpty())
            m_folders.insert(folder);
    flushFolders();
}

void WriteQueue::submit(WriteRequest request, const std::function<void()> &whileWaiting)
{
    if (m_limit == 0) {
        m_report(WriteNow(request, false));
        return;
    }
    reportFinished();
    const qint64 bytes = request.content.length();
    while (!m_inFlight.empty()
           && (int(m_inFlight.size()) >= m_limit || m_bytesInFlight + bytes > BytesInFlight)) {
        WaitPumping(m_inFlight.front().result, whileWaiting);
        reportFront();
    }
    m_bytesInFlight += bytes;
    // The request is let go on the writer's thread: closing the replaced
    // file is where the file system frees it, work the run's thread need not
    // wait for (the task itself lives on in the future until it is reported).
    auto task = std::make_shared<std::packaged_task<WriteResult()>>(
        [request = std::make_unique<WriteRequest>(std::move(request))]() mutable {
            WriteResult result = WriteNow(*request, true);
            request.reset();
            return result;
        });
    m_inFlight.push_back({task->get_future(), bytes});
    m_pool.start([task] { (*task)(); });
}

void WriteQueue::reportFront()
{
    const WriteResult result = m_inFlight.front().result.get();
    m_bytesInFlight -= m_inFlight.front().bytes;
    m_inFlight.pop_front();
    if (!result.folderToSync.isEmpty())
        m_folders.insert(result.folderToSync);
    m_report(result);
}

void WriteQueue::reportFinished()
{
    // A report may show a message, and with it ask for the queue again.
    if (m_reporting)
        return;
    const QScopedValueRollback reporting(m_reporting, true);
    while (!m_inFlight.empty()
           && m_inFlight.front().result.wait_for(std::chrono::seconds(0))
               == std::future_status::ready)
        reportFront();
}

void WriteQueue::reportAll(const std::function<void()> &whileWaiting)
{
    if (m_reporting)
        return;
    const QScopedValueRollback reporting(m_reporting, true);
    while (!m_inFlight.empty()) {
        WaitPumping(m_inFlight.front().result, whileWaiting);
        reportFront();
    }
}

void WriteQueue::finish(const std::function<void()> &whileWaiting)
{
    reportAll(whileWaiting);
    flushFolders();
}

void WriteQueue::flushFolders()
{
    // Folder flushes wait on the disk, not the processor: all at once, so
    // that the file system can join them.
    for (const QByteArray &folder : std::as_const(m_folders))
        m_pool.start([folder] { syncFolder(folder); });
    m_pool.waitForDone();
    m_folders.clear();
}
