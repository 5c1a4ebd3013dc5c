#include "engine/PosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

PosixFile::~PosixFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

PosixFile::PosixFile(PosixFile &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

PosixFile &PosixFile::operator=(PosixFile &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

PosixFile PosixFile::open(const QByteArray &nativePath, int flags, int mode)
{
    int fd;
    do {
        fd = ::open(nativePath.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return PosixFile(fd);
}

bool PosixFile::writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

qint64 PosixFile::readUpTo(char *data, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const ssize_t got = ::read(m_fd, data + total, size_t(size - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

bool PosixFile::close()
{
    // close(2) must not be retried on EINTR: the descriptor is already gone.
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 || errno == EINTR;
}
