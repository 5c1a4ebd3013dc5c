#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <utility>

// Thin checked wrappers over POSIX file descriptors, for the steps that must
// know exactly which system call failed (reading, the back-up copy and the
// safe write). Every call retries on EINTR.
class PosixFile
{
public:
    PosixFile() = default;
    explicit PosixFile(int descriptor) : m_fd(descriptor) {}
    ~PosixFile();
    PosixFile(PosixFile &&other) noexcept;
    PosixFile &operator=(PosixFile &&other) noexcept;
    PosixFile(const PosixFile &) = delete;
    PosixFile &operator=(const PosixFile &) = delete;

    // open(2) with `flags` (O_CLOEXEC is added) and `mode` for a new file.
    static PosixFile open(const QByteArray &nativePath, int flags, int mode = 0);

    bool isOpen() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }
    // Gives the descriptor up to its new owner (fdopendir, say).
    int release() { return std::exchange(m_fd, -1); }

    // True when all `size` bytes were written.
    bool writeAll(const char *data, qint64 size);

    // Reads until `size` bytes are in `data` or the file ends; the number of
    // bytes read, or -1 on an error.
    qint64 readUpTo(char *data, qint64 size);

    // Closes and reports whether the close succeeded (a failed close can mean
    // lost data on network file systems).
    bool close();

private:
    int m_fd = -1;
};

// Reads from `fd` as PosixFile::readUpTo does.
qint64 readUpTo(int fd, char *data, qint64 size);

// Copies what is left of `from` (from its current offset) to `to`; false on
// any read or write error.
bool copyContent(PosixFile &from, PosixFile &to);

// File names are bytes; most are UTF-8, but a name may hold any byte. A byte
// that is not part of valid UTF-8 is carried in the text as the lone
// surrogate U+DC00 + byte, so every name the folder walk finds names the same
// file again when it is opened, backed up or written. Valid UTF-8 names map
// as QFile::encodeName and decodeName map them. Qt's own file classes do not
// know this mapping: paths from the walk reach the file system through these.
QByteArray nativePath(const QString &path);
QString pathFromNative(const QByteArray &name);
