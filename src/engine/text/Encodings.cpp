#include "engine/text/Encodings.h"

#include "settings/DisplayCharsets.h"

#include <QString>

#include <algorithm>

using EncodingsDetail::byteAt;
using EncodingsDetail::isNonPrintable;

namespace {

struct ByteOrderMark {
    const char *bytes;
    int length;
    int kind;
};

// Tested in this order: the UTF-8 mark first, so EF BB BF never reads as text.
constexpr ByteOrderMark byteOrderMarks[] = {
    {"\xEF\xBB\xBF", 3, EncodingUtf8},
    {"\xFF\xFE", 2, EncodingUnicode},
    {"\xFE\xFF", 2, EncodingUnicodeBigEndian},
};

bool startsWith(const char *bytes, qint64 size, const ByteOrderMark &mark)
{
    return size >= mark.length && std::equal(mark.bytes, mark.bytes + mark.length, bytes);
}

// The loose UTF-8 test: a byte with its top bit set, and no neighbour pair
// that UTF-8 forbids. Lengths of the sequences are not checked.
bool looksLikeUtf8(const char *bytes, qint64 size, qint64 start)
{
    bool highBit = false;
    for (qint64 i = start; i < size && !highBit; ++i)
        highBit = byteAt(bytes, i) >= 0x80;
    if (!highBit)
        return false;
    for (qint64 i = start + 1; i < size; ++i)
        if (EncodingsDetail::utf8Forbids(byteAt(bytes, i - 1), byteAt(bytes, i)))
            return false;
    return true;
}

int guessFromContent(const char *bytes, qint64 size, qint64 bomLength)
{
    qint64 evenZeros = 0;
    qint64 oddZeros = 0;
    for (qint64 i = bomLength; i < size; ++i)
        if (bytes[i] == 0)
            ++(i % 2 == 0 ? evenZeros : oddZeros);
    return GuessCoding(size, evenZeros, oddZeros, looksLikeUtf8(bytes, size, bomLength));
}

QByteArray utf16Bytes(const QString &text, bool bigEndian)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    char *out = bytes.data();
    for (QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        *out++ = bigEndian ? high : low;
        *out++ = bigEndian ? low : high;
    }
    return bytes;
}

QString utf16UpToZero(const char *bytes, qint64 count, bool bigEndian)
{
    QString text;
    for (qint64 i = 0; i + 1 < count; i += 2) {
        const char16_t unit = EncodingsDetail::utf16UnitAt(bytes, i, bigEndian);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

} // namespace

CodingDetection DetectMark(const char *bytes, qint64 size)
{
    CodingDetection detection;
    for (const ByteOrderMark &mark : byteOrderMarks) {
        if (startsWith(bytes, size, mark)) {
            detection.bomKind = mark.kind;
            detection.bomLength = mark.length;
            break;
        }
    }
    return detection;
}

int GuessCoding(qint64 size, qint64 evenZeros, qint64 oddZeros, bool looksLikeUtf8)
{
    if (size < 4)
        evenZeros = oddZeros = 0;
    // 64-bit products: a count times 100 passes 32 bits beyond ~21 million zeros.
    const qint64 evenPercent = size > 0 ? evenZeros * 100 / size : 0;
    const qint64 oddPercent = size > 0 ? oddZeros * 100 / size : 0;
    if (evenPercent < 2 && oddPercent > 30)
        return EncodingUnicode;
    if (oddPercent < 2 && evenPercent > 30)
        return EncodingUnicodeBigEndian;
    if (size >= 5)
        return looksLikeUtf8 ? EncodingUtf8 : EncodingAnsi;
    return EncodingNone;
}

CodingDetection DetectCoding(const char *bytes, qint64 size)
{
    CodingDetection detection = DetectMark(bytes, size);
    detection.contentGuess = guessFromContent(bytes, size, detection.bomLength);
    return detection;
}

bool HasNonPrintable(const char *bytes, qint64 size, int encoding)
{
    if (encoding == EncodingUnicode || encoding == EncodingUnicodeBigEndian) {
        const int codeOffset = encoding == EncodingUnicode ? 0 : 1;
        for (qint64 i = 0; i + 1 < size; i += 2)
            if (isNonPrintable(byteAt(bytes, i + codeOffset)) && bytes[i + 1 - codeOffset] == 0)
                return true;
        return false;
    }
    for (qint64 i = 0; i < size; ++i)
        if (isNonPrintable(byteAt(bytes, i)))
            return true;
    return false;
}

QByteArray EncodeReplacement(const QString &text, int encoding)
{
    switch (encoding) {
    case EncodingUtf8:
        return text.toUtf8();
    case EncodingUnicode:
    case EncodingUnicodeBigEndian:
        return utf16Bytes(text, encoding == EncodingUnicodeBigEndian);
    default:
        return CodePage::fromQString(text);
    }
}

QString DecodeStretch(const char *bytes, qint64 count, int encoding, const DisplayCharset *charset)
{
    if (count <= 0)
        return QString();
    switch (encoding) {
    case EncodingUtf8:
        return QString::fromUtf8(bytes, qstrnlen(bytes, size_t(count)));
    case EncodingUnicode:
    case EncodingUnicodeBigEndian:
        return utf16UpToZero(bytes, count, encoding == EncodingUnicodeBigEndian);
    default: {
        const QByteArray ansi(bytes, count);
        return charset ? DecodeInCharset(ansi, *charset) : CodePage::toQString(ansi);
    }
    }
}

QByteArray CodingName(int encoding)
{
    if (encoding < EncodingAnsi || encoding > EncodingUnicodeBigEndian)
        return QByteArray();
    return FileEncodingName(encoding);
}
