#include "engine/files/PosixFile.h"

#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

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
    return ::readUpTo(m_fd, data, size);
}

qint64 readUpTo(int fd, char *data, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const ssize_t got = ::read(fd, data + total, size_t(size - total));
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

bool copyContent(PosixFile &from, PosixFile &to)
{
    std::vector<char> block(1 << 20);
    for (;;) {
        const qint64 got = from.readUpTo(block.data(), qint64(block.size()));
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!to.writeAll(block.data(), got))
            return false;
    }
}

namespace {

constexpr char16_t EscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at `at` (1..4), or 0 when the bytes
// there are not one: overlong forms, surrogates and code points beyond
// U+10FFFF are not valid.
int validSequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return uchar(bytes.at(i)); };
    const uchar lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString pathFromNative(const QByteArray &name)
{
    QString text;
    text.reserve(name.size());
    for (qsizetype at = 0; at < name.size();) {
        const int length = validSequenceLength(name, at);
        if (length == 0) {
            text += QChar(char16_t(EscapeBase + uchar(name.at(at))));
            ++at;
        } else {
            text += QString::fromUtf8(name.constData() + at, length);
            at += length;
        }
    }
    return text;
}

QByteArray nativePath(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        bytes += QStringView(path).mid(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        const bool escaped = unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF
            && (i == 0 || !path.at(i - 1).isHighSurrogate());
        if (escaped) {
            flushRun(i);
            bytes += char(unit - EscapeBase);
            runStart = i + 1;
        }
    }
    flushRun(path.size());
    return bytes;
}
