#include "engine/text/TextHelpers.h"

#include "engine/text/Encodings.h"
#include "settings/DisplayCharsets.h"

namespace {

constexpr int ContextLines = 8;
constexpr int ContextUnits = 1024;

bool isUtf16(int encoding)
{
    return encoding == EncodingUnicode || encoding == EncodingUnicodeBigEndian;
}

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The UTF-16 unit whose first byte is at `position`.
char16_t unitAt(const char *data, int encoding, qint64 position)
{
    const auto first = static_cast<unsigned char>(data[position]);
    const auto second = static_cast<unsigned char>(data[position + 1]);
    return encoding == EncodingUnicode ? char16_t(first | second << 8)
                                       : char16_t(first << 8 | second);
}

qint64 contextStart(const char *data, int encoding, int bomLength, qint64 matchStart)
{
    const int unit = isUtf16(encoding) ? 2 : 1;
    const qint64 limit = qint64(ContextUnits) * unit;
    qint64 b = matchStart;
    int lines = 0;
    while (b > bomLength && lines < ContextLines && matchStart - b < limit) {
        const bool carriageReturn =
            unit == 2 ? unitAt(data, encoding, b) == u'\r' : data[b] == '\r';
        if (carriageReturn)
            ++lines;
        b -= unit;
        if (encoding == EncodingUtf8)
            while (b > bomLength && isContinuationByte(data[b]))
                --b;
    }
    return b;
}

// The last byte of the context after the match.
qint64 contextEnd(const char *data, qint64 length, int encoding, qint64 matchEnd)
{
    const bool utf16 = isUtf16(encoding);
    const qint64 limit = qint64(ContextUnits) * (utf16 ? 2 : 1);
    qint64 a = matchEnd;
    int lines = 0;
    while (a < length && lines < ContextLines && a - matchEnd < limit) {
        if (utf16) {
            if (a >= 1 && a + 2 < length && unitAt(data, encoding, a - 1) == u'\r'
                && unitAt(data, encoding, a + 1) == u'\n') {
                ++lines;
                a += 4;
            } else {
                a += 2;
            }
            continue;
        }
        if (a >= 0 && data[a] == '\r')
            ++lines;
        ++a;
        if (encoding == EncodingUtf8)
            while (a + 1 < length && isContinuationByte(data[a + 1]))
                ++a;
    }
    return qMin(a, length - 1);
}

QString shown(const char *data, qint64 from, qint64 count, int encoding,
              const DisplayCharset &charset)
{
    return DisplaySafeText(DecodeStretch(data + from, qMax<qint64>(0, count), encoding, &charset));
}

} // namespace

QString ShortenText(const QString &text, int n)
{
    if (text.size() <= n)
        return text;
    return text.left(qMax(0, n - 3)) + QStringLiteral("...");
}

QString DisplaySafeText(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    QChar before;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c.unicode() < 32 && c != u'\t' && c != u'\n' && c != u'\r')
            c = QChar(0xB7);
        else if (IsKeptByteAt(text, i))
            c = QChar::ReplacementCharacter;
        if (c == u'\n' && before != u'\r')
            out.append(u'\r');
        out.append(c);
        before = c;
    }
    return out;
}

MatchContext BuildMatchContext(const char *data, qint64 length, int encoding, int bomLength,
                               qint64 matchStart, qint64 matchEnd, const DisplayCharset &charset)
{
    const qint64 start = contextStart(data, encoding, bomLength, matchStart);
    const qint64 end = contextEnd(data, length, encoding, matchEnd);
    return {shown(data, start, matchStart - start, encoding, charset),
            shown(data, matchStart, matchEnd - matchStart + 1, encoding, charset),
            shown(data, matchEnd + 1, end - matchEnd, encoding, charset)};
}
