#include "engine/journal/RunJournal.h"

#include "engine/files/PosixFile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Header = "Sarvonex run journal 1\n";
const QString JournalPattern = QStringLiteral("run-*.journal");
const QByteArray NoBackups = "backups none\n";

QByteArray encodePath(const QString &path)
{
    return path.isEmpty() ? QByteArray("-") : nativePath(path).toPercentEncoding("/");
}

QString decodePath(const QByteArray &field)
{
    return field == "-" ? QString() : pathFromNative(QByteArray::fromPercentEncoding(field));
}

QByteArray timeText(const QDateTime &time)
{
    return time.toString(Qt::ISODateWithMs).toLatin1();
}

bool appendSynced(PosixFile &file, const QByteArray &bytes)
{
    return file.writeAll(bytes.constData(), bytes.size()) && ::fdatasync(file.descriptor()) == 0;
}

QStringList journalFiles(const QString &folder)
{
    // Names begin with the start time, so name order is the order of runs.
    return QDir(folder).entryList({JournalPattern}, QDir::Files | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

void removeOldJournals(const QString &folder)
{
    const QStringList names = journalFiles(folder);
    for (qsizetype i = 0; i + RunJournal::KeptJournals < names.size(); ++i)
        QFile::remove(QDir(folder).filePath(names[i]));
}

QByteArray identityText(const FileIdentity &identity)
{
    return QByteArray::number(quint64(identity.device)) + ' '
        + QByteArray::number(quint64(identity.inode)) + ' '
        + QByteArray::number(qint64(identity.size)) + ' '
        + QByteArray::number(qint64(identity.modified.tv_sec)) + ' '
        + QByteArray::number(qint64(identity.modified.tv_nsec));
}

constexpr qsizetype IdentityFields = 5;

// The identity in the five fields from `first`.
std::optional<FileIdentity> parseIdentity(const QList<QByteArray> &fields, qsizetype first)
{
    bool ok[IdentityFields] = {};
    FileIdentity identity;
    identity.device = dev_t(fields[first].toULongLong(&ok[0]));
    identity.inode = ino_t(fields[first + 1].toULongLong(&ok[1]));
    identity.size = off_t(fields[first + 2].toLongLong(&ok[2]));
    identity.modified.tv_sec = time_t(fields[first + 3].toLongLong(&ok[3]));
    identity.modified.tv_nsec = long(fields[first + 4].toLong(&ok[4]));
    for (bool fieldOk : ok) {
        if (!fieldOk)
            return std::nullopt;
    }
    return identity;
}

// "file", the path, the identity written, the back-up copy and, but in older
// journals, the identity as read and the back-up copy's.
std::optional<JournalEntry> parseEntry(const QList<QByteArray> &fields)
{
    constexpr qsizetype Fields = 3 + IdentityFields;
    if (fields.size() != Fields && fields.size() != Fields + IdentityFields
        && fields.size() != Fields + 2 * IdentityFields)
        return std::nullopt;
    JournalEntry entry;
    entry.path = decodePath(fields[1]);
    const std::optional<FileIdentity> written = parseIdentity(fields, 2);
    if (!written)
        return std::nullopt;
    entry.identity = *written;
    entry.backupPath = decodePath(fields[2 + IdentityFields]);
    if (fields.size() > Fields) {
        entry.asRead = parseIdentity(fields, Fields);
        if (!entry.asRead)
            return std::nullopt;
    }
    if (fields.size() > Fields + IdentityFields) {
        entry.backupIdentity = parseIdentity(fields, Fields + IdentityFields);
        if (!entry.backupIdentity)
            return std::nullopt;
    }
    return entry;
}

} // namespace

RunJournal::RunJournal(const QString &folder, const QString &jobPath)
    : m_folder(folder), m_jobPath(jobPath), m_started(QDateTime::currentDateTime())
{
}

QString RunJournal::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
        + QStringLiteral("/runs");
}

bool RunJournal::open()
{
    if (!QDir().mkpath(m_folder))
        return false;
    const QString stem = QDir(m_folder).filePath(
        QStringLiteral("run-") + m_started.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-"))
        + QString::number(::getpid()));
    // Two runs of one process in the same millisecond get the next number;
    // every name has one, so that name order stays the order of runs.
    for (int attempt = 0; attempt < 100 && !m_file.isOpen(); ++attempt) {
        const QString name =
            stem + QStringLiteral("-%1.journal").arg(attempt, 2, 10, QLatin1Char('0'));
        m_file = PosixFile::open(nativePath(name), O_WRONLY | O_CREAT | O_EXCL | O_APPEND, 0600);
    }
    if (!m_file.isOpen())
        return false;
    removeOldJournals(m_folder);
    if (m_backupsKept)
        m_sync = std::make_unique<BackgroundSync>(m_file.descriptor());
    QByteArray header = Header + "job " + encodePath(m_jobPath) + "\nstarted "
        + timeText(m_started) + '\n';
    for (const QString &folder : std::as_const(m_folders))
        header += "folder " + encodePath(folder) + '\n';
    if (!m_backupsKept)
        header += NoBackups;
    return appendSynced(m_file, header);
}

void RunJournal::describeRun(const QStringList &folders, bool backupsKept)
{
    const std::lock_guard lock(m_mutex);
    m_folders = folders;
    m_backupsKept = backupsKept;
}

void RunJournal::replacing(const QString &path, const FileIdentity &asRead,
                           const FileIdentity &written, const QString &backupPath,
                           const std::optional<FileIdentity> &backupIdentity)
{
    if (!m_backupsKept) {
        const std::lock_guard lock(m_mutex);
        if (!m_file.isOpen() && !m_failed && !open())
            giveUp(errno);
        return;
    }
    QByteArray line = "file " + encodePath(path) + ' ' + identityText(written) + ' '
        + encodePath(backupPath) + ' ' + identityText(asRead);
    if (backupIdentity)
        line += ' ' + identityText(*backupIdentity);
    line += '\n';
    const std::lock_guard lock(m_mutex);
    if (m_failed)
        return;
    if (!m_file.isOpen() && !open())
        giveUp(errno);
    else if (m_sync->failed())
        giveUp(0); // the flushing thread's error is not known here
    else if (!m_file.writeAll(line.constData(), line.size()))
        giveUp(errno);
    else
        m_sync->request();
}

bool RunJournal::flush()
{
    const std::lock_guard lock(m_mutex);
    if (!m_failed && m_sync && !m_sync->flush())
        giveUp(0);
    return !m_failed;
}

void RunJournal::giveUp(int error)
{
    m_failed = true;
    m_error = error;
    // A journal without every file would undo part of the run as if it were
    // all of it: emptied, it leaves nothing to undo, and no older run is
    // taken back in its place. Truncating needs no room on the disk.
    if (m_file.isOpen())
        (void)::ftruncate(m_file.descriptor(), 0);
}

QString RunJournal::failureReason()
{
    const std::lock_guard lock(m_mutex);
    return m_error ? QString::fromLocal8Bit(std::strerror(m_error)) : QString();
}

bool RunJournal::takeFailureNotice()
{
    const std::lock_guard lock(m_mutex);
    const bool notice = m_failed && !m_failureNoticed;
    m_failureNoticed = m_failureNoticed || m_failed;
    return notice;
}

std::optional<JournalRecord> ReadLastJournal(const QString &folder, QString *damage)
{
    const QStringList names = journalFiles(folder);
    if (names.isEmpty())
        return std::nullopt;
    JournalRecord journal;
    journal.file = QDir(folder).filePath(names.last());
    const auto damaged = [&](const char *why) -> std::optional<JournalRecord> {
        if (damage)
            *damage = QString::fromLatin1(why);
        return std::nullopt;
    };
    // Never a link, a pipe or a device: only a regular file is read.
    PosixFile handle = PosixFile::open(nativePath(journal.file),
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat info {};
    if (!handle.isOpen() && errno != ELOOP)
        return std::nullopt;
    if (!handle.isOpen() || ::fstat(handle.descriptor(), &info) != 0 || !S_ISREG(info.st_mode))
        return damaged("it is not a regular file");
    QFile file;
    if (!file.open(handle.descriptor(), QIODevice::ReadOnly) || file.readLine() != Header)
        return std::nullopt;
    QSet<QString> paths;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(MaximumJournalLine + 1);
        if (line.size() > MaximumJournalLine)
            return damaged("it has a line longer than 1 MiB");
        // A line cut short by a killed run has no line feed yet.
        if (!line.endsWith('\n'))
            break;
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields[0] == "job" && fields.size() == 2)
            journal.jobPath = decodePath(fields[1]);
        else if (fields[0] == "started" && fields.size() == 2)
            journal.started = QDateTime::fromString(QString::fromLatin1(fields[1]), Qt::ISODateWithMs);
        else if (fields[0] == "folder" && fields.size() == 2)
            journal.folders.append(decodePath(fields[1]));
        else if (line == NoBackups)
            journal.backupsKept = false;
        else if (fields[0] == "undone")
            journal.undone = true;
        else if (fields[0] == "file") {
            if (const std::optional<JournalEntry> entry = parseEntry(fields)) {
                if (paths.contains(entry->path))
                    return damaged("it names a file more than once");
                paths.insert(entry->path);
                journal.entries.append(*entry);
            }
        }
    }
    return journal;
}

bool MarkJournalUndone(const JournalRecord &journal)
{
    PosixFile file = PosixFile::open(nativePath(journal.file), O_WRONLY | O_APPEND);
    if (!file.isOpen())
        return false;
    return appendSynced(file, "undone " + timeText(QDateTime::currentDateTime()) + '\n')
        && file.close();
}
