#include "engine/files/InPlaceWrite.h"

#include "engine/files/PosixFile.h"

#include <QDir>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool rewind(const PosixFile &file)
{
    return ::lseek(file.descriptor(), 0, SEEK_SET) == 0;
}

// Reserves room for `size` bytes. File systems without fallocate get no
// reservation; the keeping copy still protects the original there.
bool reserve(const PosixFile &file, off_t oldSize, qint64 size)
{
    if (size <= oldSize)
        return true;
    if (::fallocate(file.descriptor(), 0, 0, off_t(size)) == 0)
        return true;
    return errno == EOPNOTSUPP || errno == ENOSYS;
}

// The copy of the original: a new, empty file hidden beside the file, or in
// the temporary folder when nothing may be created there.
class KeptCopy
{
public:
    bool create(const HeldFile &target, const KeptCopyName &name)
    {
        for (int attempt = 0; attempt < 100 && !m_file.isOpen(); ++attempt) {
            m_name = name.stem() + QByteArray::number(attempt);
            m_file = PosixFile(::openat(target.folder(), m_name.constData(),
                                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                        0600));
            if (!m_file.isOpen() && errno != EEXIST)
                break;
        }
        if (m_file.isOpen()) {
            m_folder = target.folder();
            m_path = target.place().folder + '/' + m_name;
            return true;
        }
        m_path = nativePath(QDir::tempPath()) + '/' + name.stem() + "XXXXXX";
        m_file = PosixFile(::mkostemp(m_path.data(), O_CLOEXEC));
        m_name = m_path;
        if (!m_file.isOpen())
            m_name.clear();
        return m_file.isOpen();
    }

    PosixFile &file() { return m_file; }
    QString path() const { return pathFromNative(m_path); }

    void remove()
    {
        if (!m_name.isEmpty())
            ::unlinkat(m_folder, m_name.constData(), 0);
        m_name.clear();
    }

private:
    int m_folder = AT_FDCWD;
    QByteArray m_name; // relative to m_folder
    QByteArray m_path;
    PosixFile m_file;
};

// The copy carries the original's modification time too, for a later run
// that puts it back.
bool keepCopy(PosixFile &file, PosixFile &copy, const struct stat &original)
{
    const timespec times[2] = {{0, UTIME_OMIT}, original.st_mtim};
    return rewind(file) && copyContent(file, copy) && ::futimens(copy.descriptor(), times) == 0
        && ::fsync(copy.descriptor()) == 0;
}

bool writeContent(PosixFile &file, const char *data, qint64 size)
{
    return rewind(file) && file.writeAll(data, size)
        && ::ftruncate(file.descriptor(), off_t(size)) == 0;
}

bool putBack(PosixFile &file, PosixFile &copy, const struct stat &original)
{
    const timespec times[2] = {{0, UTIME_OMIT}, original.st_mtim};
    return rewind(copy) && rewind(file) && copyContent(copy, file)
        && ::ftruncate(file.descriptor(), original.st_size) == 0
        && ::futimens(file.descriptor(), times) == 0 && ::fsync(file.descriptor()) == 0;
}

} // namespace

QByteArray KeptCopyName::stem() const
{
    return Prefix + QByteArray::number(process) + '-' + QByteArray::number(quint64(inode)) + '-'
        + QByteArray::number(qint64(written.size)) + '-'
        + QByteArray::number(qint64(written.modified.tv_sec)) + '-'
        + QByteArray::number(qint64(written.modified.tv_nsec)) + '-';
}

std::optional<KeptCopyName> KeptCopyName::parse(const QByteArray &name)
{
    if (!name.startsWith(Prefix))
        return std::nullopt;
    const QList<QByteArray> fields = name.mid(qstrlen(Prefix)).split('-');
    if (fields.size() != 6)
        return std::nullopt;
    bool ok[5] = {};
    KeptCopyName parsed;
    parsed.process = pid_t(fields[0].toInt(&ok[0]));
    parsed.inode = ino_t(fields[1].toULongLong(&ok[1]));
    parsed.written.size = off_t(fields[2].toLongLong(&ok[2]));
    parsed.written.modified.tv_sec = time_t(fields[3].toLongLong(&ok[3]));
    parsed.written.modified.tv_nsec = long(fields[4].toLong(&ok[4]));
    for (const bool fieldOk : ok) {
        if (!fieldOk)
            return std::nullopt;
    }
    return parsed;
}

WriteOutcome writeInPlace(const HeldFile &target, const char *data, qint64 size,
                          const FileIdentity &asRead, const WriteOptions &options)
{
    // Opened anew for writing, and still the file that was checked.
    PosixFile file(::openat(target.folder(), target.place().name.constData(),
                            O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat original {};
    if (!file.isOpen() || ::fstat(file.descriptor(), &original) != 0)
        return WriteOutcome::Failed;
    if (!asRead.matches(original))
        return WriteOutcome::ChangedOnDisk;

    timespec modified = original.st_mtim;
    if (!options.keepModificationTime && options.modified)
        modified = *options.modified;
    else if (!options.keepModificationTime)
        ::clock_gettime(CLOCK_REALTIME, &modified);
    FileIdentity written = FileIdentity::of(original);
    written.size = off_t(size);
    written.modified = modified;

    // The copy is taken while the file is still exactly the original: the
    // reservation below may append zeros to it.
    KeptCopy copy;
    if (!copy.create(target, {::getpid(), original.st_ino, written})
        || !keepCopy(file, copy.file(), original)) {
        copy.remove();
        return WriteOutcome::Failed;
    }
    // The last look: flushing the copy took a while.
    if (!target.stillIs(asRead)) {
        copy.remove();
        return WriteOutcome::ChangedOnDisk;
    }
    if (options.beforeReplace)
        options.beforeReplace(written);

    if (!reserve(file, original.st_size, size)) {
        // A partial reservation may have grown the file; its content is whole.
        const timespec times[2] = {{0, UTIME_OMIT}, original.st_mtim};
        (void)::ftruncate(file.descriptor(), original.st_size);
        ::futimens(file.descriptor(), times);
        copy.remove();
        return WriteOutcome::Failed;
    }

    bool done = writeContent(file, data, size);
    if (done) {
        // Only the owner may set a time; another writer's file keeps the
        // time of the write, which is not an error.
        const timespec times[2] = {{0, UTIME_OMIT}, modified};
        ::futimens(file.descriptor(), times);
    }
    done = done && ::fsync(file.descriptor()) == 0;
    if (done || putBack(file, copy.file(), original)) {
        copy.remove();
        return file.close() && done ? WriteOutcome::Written : WriteOutcome::Failed;
    }
    if (options.keptCopy)
        *options.keptCopy = copy.path();
    return WriteOutcome::Failed;
}
