#include "engine/run/FileProcessor.h"

#include "engine/files/BackupCopy.h"
#include "engine/files/FileAttributes.h"
#include "engine/files/PathHelpers.h"
#include "engine/journal/RunJournal.h"
#include "engine/preview/EditList.h"
#include "engine/preview/UnifiedDiff.h"
#include "engine/run/ApplyStringPair.h"
#include "engine/run/ReadAhead.h"
#include "engine/run/WriteQueue.h"
#include "settings/JobEntries.h"
#include "engine/text/CodePage.h"
#include "engine/text/ContentScan.h"
#include "engine/text/Encodings.h"
#include "settings/CellText.h"

#include <QFileInfo>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace {

constexpr qint64 BytesPerMiB = 1048576;
const QString OutOfMemoryCount = QStringLiteral("out of memory");
const QString UnreadableCount = QStringLiteral("cannot be read");
const QString UnwritableCount = QStringLiteral("cannot be written");
const QString ChangedCount = QStringLiteral("changed by another program");
const QString LimitReachedCount = QStringLiteral("search limit reached");
const QString DefaultBackupFolder = QStringLiteral("_BACKUP_");

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

QString sizeInMiB(qint64 bytes)
{
    return QString::number(bytes / BytesPerMiB) + QStringLiteral(" MB");
}

QString codingReportFor(const CodingDetection &detection)
{
    const auto codingName = [](int coding) { return QString::fromLatin1(CodingName(coding)); };
    QString report;
    switch (detection.bomKind) {
    case EncodingUtf8:
        report = QStringLiteral("Byte order mark EF BB BF found.\n");
        break;
    case EncodingUnicode:
        report = QStringLiteral("Byte order mark FF FE found.\n");
        break;
    case EncodingUnicodeBigEndian:
        report = QStringLiteral("Byte order mark FE FF found.\n");
        break;
    default:
        report = QStringLiteral("No byte order mark found.\n\n");
    }
    if (detection.bomKind != EncodingNone)
        report += QStringLiteral("It suggests the file is in %1 coding.\n\n")
                      .arg(codingName(detection.bomKind));
    if (detection.contentGuess == EncodingNone)
        report += QStringLiteral("File coding can't be reliably guessed from its content.\n\n");
    else
        report += QStringLiteral("The content seems to be in %1 coding.\n\n")
                      .arg(codingName(detection.contentGuess));
    return report;
}

QString changedMessage(const QString &path)
{
    return QStringLiteral("File %1 was changed by another program while it was being "
                          "processed.\nIt was left as it is; the replacements in it were not "
                          "saved.")
        .arg(quoted(path));
}

// One file's way through a run; see ProcessFile.
class FileRun
{
public:
    FileRun(const QString &path, int requiredCoding, PreparedFile prepared,
            PathTable &statistics, RunContext &run, WriteQueue &writes)
        : m_path(path),
          m_fileName(QFileInfo(path).fileName()),
          m_requiredCoding(requiredCoding),
          m_statistics(statistics),
          m_run(run),
          m_writes(writes),
          m_options(run.job.options()),
          m_prepared(std::move(prepared))
    {
    }

    void process();

private:
    using ReadResult = LoadedFile::Result;

    ReadResult read();
    int workOutCoding();
    bool mayModifyBinary(int coding);
    bool applyStringPairs(int coding);
    bool makeBackUp();
    bool backUpTo(int folder, const QString &destination, const QString &failureMessage);
    bool goOnAfterFailedBackUp(const QString &failureMessage);
    void backUpAndWrite();
    std::optional<mode_t> dealWithReadOnly();
    bool makeWritable(mode_t attributes);
    void writeBack(std::optional<mode_t> attributes);
    void clearStatus();
    void reportPreview();
    void skipInPreview(const QString &reason);
    void skip(const QString &reason);
    void finish(FileOutcome::Kind kind, const QString &reason = QString());
    void fail(const QString &countText, const QString &message, const QString &previewReason);
    QString limitReachedMessage() const;

    // Asks the four-button question; an "all" answer clears `memory` so the
    // question is not asked again in this run. True to go on with the file.
    bool askContinue(const QString &question, const QString &allCaption, bool &memory);

    const QString m_path;
    const QString m_fileName;
    const int m_requiredCoding;
    PathTable &m_statistics;
    RunContext &m_run;
    WriteQueue &m_writes;
    const RunOptions &m_options;

    PreparedFile m_prepared;
    ByteBuffer &m_buffer = m_prepared.loaded.buffer;
    const ContentSummary &m_content = m_prepared.loaded.content;
    int m_bomLength = 0;
    int m_coding = EncodingNone;
    FileCounters m_counters;
    QString m_backupPath; // the copy made in this run, if any
    std::optional<FileIdentity> m_backupIdentity;

    // A preview keeps the content as read and where the pairs replaced.
    ByteBuffer m_original;
    EditList m_edits;
    // The preview met a question the run would ask about this file.
    bool m_wouldAsk = false;
};

void FileRun::process()
{
    switch (read()) {
    case ReadResult::Empty:
        finish(FileOutcome::Unchanged);
        return;
    case ReadResult::Unreadable:
        fail(UnreadableCount,
             QStringLiteral("Unable to read file: %1\nFile will be skipped over.").arg(m_path),
             QStringLiteral("unreadable"));
        return;
    case ReadResult::Changed:
        fail(ChangedCount, changedMessage(m_path), QStringLiteral("unreadable"));
        return;
    case ReadResult::TooLarge:
        // Memory is not what a file over the limit of every file lacks.
        fail(OutOfMemoryCount,
             QStringLiteral("File %1 is larger than 2 GB, the most a file may have to be "
                            "processed.\nFile will be skipped over.")
                 .arg(m_path),
             QStringLiteral("too large"));
        return;
    case ReadResult::OutOfMemory:
        m_counters.outOfMemory = true;
        break;
    case ReadResult::Read: {
        m_coding = workOutCoding();
        if (!mayModifyBinary(m_coding))
            skip(QStringLiteral("binary"));
        else if (applyStringPairs(m_coding))
            backUpAndWrite();
        else if (!m_counters.outOfMemory && !m_counters.limitReached)
            // Replacements that were made but are not written: the run stopped.
            finish(m_counters.replacements > 0 ? FileOutcome::Skipped : FileOutcome::Unchanged,
                   m_counters.replacements > 0 ? QStringLiteral("stopped") : QString());
        break;
    }
    }

    if (m_counters.outOfMemory)
        fail(OutOfMemoryCount,
             QStringLiteral("Not enough memory to process file: %1\nFile will be skipped over.")
                 .arg(m_path),
             QStringLiteral("too large"));
    else if (m_counters.limitReached)
        fail(LimitReachedCount, limitReachedMessage(), QStringLiteral("search limit reached"));
    else if (m_counters.occurrences > 0)
        m_statistics.AppendRow({m_path, QString::number(m_counters.occurrences),
                                QString::number(m_counters.replacements)});
}

// The file was read before, maybe ahead of its turn; the steps of the read
// are shown now, in the order of the list.
FileRun::ReadResult FileRun::read()
{
    const LoadedFile &loaded = m_prepared.loaded;
    if (loaded.readBegan) {
        m_run.host.setStatus(QStringLiteral("Reading file: ") + m_fileName + QStringLiteral(" (")
                             + sizeInMiB(loaded.size) + u')');
        m_run.host.pump();
        if (loaded.result != ReadResult::Read)
            clearStatus();
    }
    return loaded.result;
}

int FileRun::workOutCoding()
{
    m_run.host.setStatus(QStringLiteral("Checking content..."));
    m_run.host.pump();
    const CodingDetection &detection = m_content.detection;
    m_bomLength = detection.bomLength;
    m_run.state.CodingReport = codingReportFor(detection);
    if (m_requiredCoding != EncodingAuto)
        m_run.state.CodingReport += QStringLiteral("User-required processing: ")
            + QString::fromLatin1(CodingName(m_requiredCoding)) + QStringLiteral("\n\n");
    return EffectiveCoding(detection, m_requiredCoding);
}

bool FileRun::mayModifyBinary(int coding)
{
    const bool nonPrintable = m_content.hasNonPrintable(coding);
    clearStatus();
    if (!nonPrintable || !m_run.state.AskBinary)
        return true;
    // An unattended run asks nothing, but "never modify" still holds there:
    // the user chose it so that binary files are safe in every run.
    if (m_options.binaryFiles == BinarySkip)
        return false;
    if (m_options.binaryFiles != BinaryAsk || m_run.state.unattended)
        return true;
    const bool proceed = askContinue(
        QStringLiteral("File %1 contains non-printable characters. \nIt is not a text-only file or "
                       "a wrong file coding was selected.\n\nModifying a binary file can lead to "
                       "an unpredictable results.\n\nDo you want to replace strings in this file?")
            .arg(quoted(m_path)),
        QStringLiteral("Replace in All Binary Files"), m_run.state.AskBinary);
    m_run.host.pump();
    return proceed;
}

// True when the buffer changed and the run goes on, so the file is to be
// written.
bool FileRun::applyStringPairs(int coding)
{
    if (m_prepared.pairsApplied) {
        m_counters = m_prepared.counters;
        m_run.host.pump();
        return m_prepared.changed && !m_run.state.breakRequested();
    }
    PassRecording recording;
    if (m_run.state.preview)
        recording = {&m_edits, &m_original};
    return ApplyStringPairs(m_buffer, m_run.job.stringPairs().entries(), m_path, m_counters,
                            coding, m_bomLength, m_run, recording);
}

bool FileRun::makeBackUp()
{
    if (m_run.state.preview || m_options.backupMode == BackupNone)
        return true;
    m_run.host.setStatus(QStringLiteral("Backing file up: ") + m_fileName);
    m_run.host.pump();
    const QString folder = QFileInfo(m_path).path();
    const BackupCopy::Names names = BackupCopy::Names::of(m_options);
    // The copy goes beside the file's name, into its folder held open, so
    // that a folder swapped for a link cannot take it elsewhere.
    const PosixFile held = openFolderWithoutLinks(m_prepared.loaded.listingFolder);
    if (m_options.backupMode == BackupToSubfolder) {
        QString name = names.folder;
        if (!IsValidFolderName(name))
            name = DefaultBackupFolder;
        const QString candidate = BackupCopy::chooseSubfolder(held.descriptor(), folder, name,
                                                              m_run.state.BackUpFolders);
        const PosixFile subfolder(::openat(held.descriptor(),
                                           nativePath(QFileInfo(candidate).fileName()).constData(),
                                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        return backUpTo(
            subfolder.descriptor(), WithTrailingBackslash(candidate) + m_fileName,
            QStringLiteral("Back-up failed!\n\nFile %1 couln't be copied to folder %2. ")
                .arg(quoted(m_path), quoted(candidate)));
    }
    if (m_options.backupMode == BackupRename) {
        if (!IsPlainNamePart(names.prefix) || !IsPlainNamePart(names.suffix))
            return goOnAfterFailedBackUp(
                QStringLiteral("Back-up failed!\n\nThe back-up file prefix %1 and suffix %2 must "
                               "be plain parts of a file name: no \"/\", and neither \".\" nor "
                               "\"..\". File %3 was not backed up. ")
                    .arg(quoted(names.prefix), quoted(names.suffix), quoted(m_path)));
        const QString candidate = WithTrailingBackslash(folder)
            + BackupCopy::renamedCopyName(held.descriptor(), m_fileName, names.prefix,
                                          names.suffix);
        return backUpTo(held.descriptor(), candidate,
                        QStringLiteral("Back-up failed!\n\nFile %1 couln't be copied to %2. ")
                            .arg(quoted(m_path), quoted(candidate)));
    }
    return true;
}

bool FileRun::backUpTo(int folder, const QString &destination, const QString &failureMessage)
{
    const QString name = QFileInfo(destination).fileName();
    if (folder >= 0 && BackupCopy::copyFile(m_prepared.loaded.held, folder, name)) {
        struct stat copy {};
        if (::fstatat(folder, nativePath(name).constData(), &copy, AT_SYMLINK_NOFOLLOW) == 0)
            m_backupIdentity = FileIdentity::of(copy);
        m_backupPath = destination;
        return true;
    }
    return goOnAfterFailedBackUp(failureMessage);
}

// A file skipped for want of a back-up counts as one the run failed on, so an
// unattended run does not report success.
bool FileRun::goOnAfterFailedBackUp(const QString &failureMessage)
{
    if (!m_run.state.AskBackUpFailure)
        return true;
    const bool proceed = askContinue(
        failureMessage
            + QStringLiteral("If the changes in file are not what expected there will not be an "
                             "easy way to restore the previous state.\n\nDo you want to replace "
                             "strings in this file?"),
        QStringLiteral("Replace in All Files"), m_run.state.AskBackUpFailure);
    m_run.host.pump();
    if (!proceed) {
        m_run.state.fileFailed = true;
        finish(FileOutcome::Failed, failureMessage.trimmed());
    }
    return proceed;
}

void FileRun::backUpAndWrite()
{
    if (makeBackUp()) {
        bool proceed = true;
        const HeldFile &held = m_prepared.loaded.held;
        // The mode as read: the write looks at the file again before it
        // replaces it.
        const mode_t attributes = m_prepared.loaded.mode;
        const bool readOnly =
            FileAttributes::isReadOnlyFor(held.folder(), held.place().name.constData(), attributes);
        if (readOnly) {
            if (m_options.readOnlyFiles == ReadOnlySkip)
                proceed = false;
            else if (m_options.readOnlyFiles == ReadOnlyAsk && m_run.state.AskReadOnly)
                proceed = askContinue(
                    QStringLiteral("File %1 can't be open for writing. File is probably marked as "
                                   "read-only, or you don't have sufficient network rights.\n\nDo "
                                   "you want to replace strings in this file?")
                        .arg(quoted(m_path)),
                    QStringLiteral("Replace in All Read-Only Files"), m_run.state.AskReadOnly);
            if (proceed && !m_run.state.preview && !makeWritable(attributes)) {
                clearStatus();
                return;
            }
        }
        if (!proceed)
            skip(QStringLiteral("read-only"));
        else if (m_run.state.preview)
            reportPreview();
        else
            writeBack(readOnly ? std::optional(attributes) : std::nullopt);
    }
    clearStatus();
}

// Sets the owner's write bit for the write. A process may not replace a file
// it may not write even after that (another user's file in its folder): the
// file is left as it was, and the run fails.
bool FileRun::makeWritable(mode_t attributes)
{
    const HeldFile &held = m_prepared.loaded.held;
    FileAttributes::clearReadOnly(held.descriptor(), attributes);
    if (!FileAttributes::isReadOnlyFor(held.folder(), held.place().name.constData(),
                                       attributes | S_IWUSR))
        return true;
    FileAttributes::restore(held.descriptor(), attributes);
    fail(UnwritableCount,
         QStringLiteral("Unable to write file: %1\nYou have no right to write it. File will be "
                        "skipped over.")
             .arg(m_path),
         QStringLiteral("read-only"));
    return false;
}

void FileRun::writeBack(std::optional<mode_t> attributes)
{
    m_run.host.setStatus(QStringLiteral("Writing file: ") + m_fileName + QStringLiteral(" (")
                         + sizeInMiB(m_buffer.length()) + u')');
    m_run.host.pump();
    WriteRequest request;
    request.path = m_path;
    request.content = std::move(m_buffer);
    request.asRead = m_prepared.loaded.identity;
    request.keepModificationTime = m_options.preserveDateTime;
    request.target = std::move(m_prepared.loaded.held);
    // Only a read-only file had its mode changed for the write.
    if (attributes)
        request.attributes = m_options.setArchiveAttribute
            ? FileAttributes::withArchive(*attributes)
            : *attributes;
    request.backupPath = m_backupPath;
    request.backupIdentity = m_backupIdentity;
    request.journal = m_run.state.journal;
    request.coding = m_coding;
    request.replacements = m_counters.replacements;
    m_writes.submit(std::move(request), [this] { m_run.host.pump(); });
    clearStatus();
}

void FileRun::clearStatus()
{
    m_run.host.setStatus(QString());
    m_run.host.pump();
}

void FileRun::reportPreview()
{
    FilePreview file;
    file.path = m_path;
    file.codingName = QString::fromLatin1(CodingName(m_coding));
    file.occurrences = m_counters.occurrences;
    file.replacements = m_counters.replacements;
    const UnifiedDiff diff(QByteArray::fromRawData(m_original.data(), m_original.length()),
                           QByteArray::fromRawData(m_buffer.data(), m_buffer.length()), m_coding,
                           m_bomLength, m_edits.edits(),
                           &AnsiCharsetOfPairs(m_run.job.stringPairs()));
    m_run.state.preview->fileWouldChange(file, diff);
}

void FileRun::skipInPreview(const QString &reason)
{
    if (m_run.state.preview)
        m_run.state.preview->fileSkipped(m_path, m_wouldAsk ? QStringLiteral("would ask") : reason);
}

void FileRun::skip(const QString &reason)
{
    skipInPreview(reason);
    finish(FileOutcome::Skipped, reason);
}

void FileRun::finish(FileOutcome::Kind kind, const QString &reason)
{
    if (!m_run.state.preview)
        m_run.host.fileFinished({m_path, kind, m_coding, m_counters.replacements, reason});
}

// A regular expression that backtracks without end gives up on this file
// only: the file keeps its content and the run goes on.
QString FileRun::limitReachedMessage() const
{
    const int pair = m_counters.limitReachedPair;
    const QString find = DecodeCellText(m_run.job.stringPairs().cell(pair, 0));
    return QStringLiteral("The regular expression \"%1\" of string pair %2 reached the limit of "
                          "the regular-expression engine in file %3 (too much backtracking).\n"
                          "The file was left as it is.")
        .arg(find, QString::number(pair), quoted(m_path));
}

void FileRun::fail(const QString &countText, const QString &message,
                   const QString &previewReason)
{
    skipInPreview(previewReason);
    finish(FileOutcome::Failed, message);
    m_run.state.fileFailed = true;
    m_run.host.showMessage(message);
    m_statistics.AppendRow({m_path, countText, countText});
}

bool FileRun::askContinue(const QString &question, const QString &allCaption, bool &memory)
{
    // A preview asks nothing: the file is listed as one the run would ask
    // about, and not shown as changed.
    if (m_run.state.preview) {
        m_wouldAsk = true;
        return false;
    }
    switch (m_run.host.AskContinue(question, {QStringLiteral("Replace in this File"), allCaption,
                                              QStringLiteral("Skip this File"),
                                              QStringLiteral("Cancel All")})) {
    case ContinueAnswer::Yes:
        return true;
    case ContinueAnswer::All:
        memory = false;
        return true;
    case ContinueAnswer::No:
        return false;
    case ContinueAnswer::Cancel:
        break;
    }
    m_run.state.requestBreak();
    return false;
}

} // namespace

PathTable *newStatisticsTable(QObject *parent)
{
    return new PathTable({QStringLiteral("File name"), QStringLiteral("Occurences"),
                          QStringLiteral("Replacements")},
                         parent);
}

namespace {
// The replacements go on (each file is still written whole or not at all);
// what is lost is the way back, and the exit code says so. A run without
// back-up copies had no way back to lose: it is not told, so that a journal
// folder nobody can write (a read-only home) does not fail every such run.
void reportJournalFailure(RunJournal &journal, RunContext &run)
{
    if (run.job.options().backupMode == BackupNone)
        return;
    run.state.journalFailed = true;
    const QString reason = journal.failureReason();
    run.host.showMessage(
        QStringLiteral("The run journal could not be written%1, so this run cannot be undone. "
                       "The replacements are made all the same.")
            .arg(reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
}
} // namespace

void ReportWrite(const WriteResult &write, RunContext &run)
{
    FileOutcome outcome{write.path, FileOutcome::Failed, write.coding, write.replacements, {}};
    switch (write.outcome) {
    case WriteOutcome::Written:
        outcome.kind = FileOutcome::Written;
        run.host.fileFinished(outcome);
        if (RunJournal *journal = run.state.journal; journal && journal->takeFailureNotice())
            reportJournalFailure(*journal, run);
        break;
    case WriteOutcome::ChangedOnDisk:
        run.state.fileFailed = true;
        outcome.reason = changedMessage(write.path);
        run.host.fileFinished(outcome);
        run.host.showMessage(outcome.reason);
        break;
    case WriteOutcome::Failed:
        run.state.fileFailed = true;
        // Only a write whose original could not be put back leaves the file
        // to be restored; any other failure left it as it was.
        outcome.reason =
            QStringLiteral("Unexpected error while saving the file %1. ").arg(quoted(write.path))
            + (write.keptCopy.isEmpty()
                   ? QStringLiteral("The file was left as it was.")
                   : QStringLiteral("Please restore the file from back-up."))
            + (write.diskFull ? QStringLiteral(" The disk is full.") : QString())
            + QStringLiteral("\n\nBatch was stopped.")
            + (write.keptCopy.isEmpty() ? QString()
                                        : QStringLiteral("\n\nIts original content is kept in %1.")
                                              .arg(quoted(write.keptCopy)));
        run.host.fileFinished(outcome);
        run.host.showMessage(outcome.reason);
        run.state.requestBreak();
        break;
    }
}

void FinishJournal(RunContext &run)
{
    RunJournal *journal = run.state.journal;
    if (!journal)
        return;
    journal->flush();
    if (journal->takeFailureNotice())
        reportJournalFailure(*journal, run);
}

void ProcessFile(const QString &path, int requiredCoding, PreparedFile prepared,
                 PathTable &statistics, RunContext &run, WriteQueue &writes)
{
    FileRun(path, requiredCoding, std::move(prepared), statistics, run, writes).process();
}

void ProcessFile(const QString &path, int requiredCoding, PathTable &statistics, RunContext &run)
{
    PreparedFile prepared;
    prepared.loaded = LoadFile(path, run.state.collectedIdentity(path));
    WriteQueue writes(0, [&run](const WriteResult &write) { ReportWrite(write, run); });
    ProcessFile(path, requiredCoding, std::move(prepared), statistics, run, writes);
}
