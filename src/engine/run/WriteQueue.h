#pragma once

#include "engine/files/ByteBuffer.h"
#include "engine/files/SafeFileWriter.h"
#include "engine/journal/RunJournal.h"

#include <QSet>
#include <QThreadPool>
#include <deque>
#include <functional>
#include <future>
#include <optional>

// One file's new content on its way to disk.
struct WriteRequest {
    QString path;
    HeldFile target; // the file as read, held open
    ByteBuffer content;
    FileIdentity asRead;
    bool keepModificationTime = false;
    // Mode bits put back after the write, whatever its outcome.
    std::optional<mode_t> attributes;
    QString backupPath;
    std::optional<FileIdentity> backupIdentity; // of the back-up copy, when one was made
    // Where the file is recorded just before it is replaced; or none.
    RunJournal *journal = nullptr;
    // For the file's outcome: its coding and the replacements in it.
    int coding = 0;
    qint64 replacements = 0;
};

struct WriteResult {
    QString path;
    QString backupPath;
    WriteOutcome outcome = WriteOutcome::Failed;
    QString keptCopy;
    bool diskFull = false; // a failed write's folder has less room than its content
    QByteArray folderToSync; // set once renamed: the folder still to flush
    int coding = 0;
    qint64 replacements = 0;
};

// The durable writes of a run, done on worker threads while the run's thread
// goes on with the next files. Their results are reported on the run's thread
// in the order the writes were submitted, so what the user is told keeps the
// order of the list. Each folder a file was renamed into is flushed once, when
// the queue finishes.
//
// With no threads each write is done and reported at once, its folder flushed
// straight after it: the plain one-thread run.
class WriteQueue
{
public:
    using Report = std::function<void(const WriteResult &)>;

    WriteQueue(int threads, Report report);
    // Waits for the writes in flight and flushes their folders; results not
    // reported by then are not reported.
    ~WriteQueue();

    // Starts the write; first waits for the oldest when too many are in
    // flight. `whileWaiting` is called every few milliseconds of a wait.
    void submit(WriteRequest request, const std::function<void()> &whileWaiting);

    // Reports the writes that are done, up to the first that is not.
    void reportFinished();

    // Waits for every write in flight and reports each.
    void reportAll(const std::function<void()> &whileWaiting);

    // reportAll, then flushes every folder written into.
    void finish(const std::function<void()> &whileWaiting);

    bool idle() const { return m_inFlight.empty(); }

private:
    void reportFront();
    void flushFolders();

    Report m_report;
    int m_limit = 0;
    bool m_reporting = false;
    struct Write {
        std::future<WriteResult> result;
        qint64 bytes = 0;
    };
    std::deque<Write> m_inFlight;
    qint64 m_bytesInFlight = 0;
    QSet<QByteArray> m_folders;
    QThreadPool m_pool;
};

// Does one write as the queue does: the file, then its mode bits. Unless
// `folderToSync` is wanted, its folder is flushed too.
WriteResult WriteNow(WriteRequest &request, bool deferFolderSync);
