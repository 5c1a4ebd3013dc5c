#include "engine/preview/CodedLines.h"

#include "engine/text/CodePage.h"
#include "settings/DisplayCharsets.h"
#include "settings/FileEncoding.h"

#include <algorithm>
#include <cstring>
#include <string.h>

CodedLines::CodedLines(const QByteArray &text, int encoding, int bomLength,
                       const DisplayCharset *ansiCharset)
    : m_data(text.constData()),
      m_length(text.size()),
      m_encoding(encoding),
      m_unit(encoding == EncodingUnicode || encoding == EncodingUnicodeBigEndian ? 2 : 1),
      m_bom(bomLength),
      m_ansiCharset(ansiCharset)
{
}

bool CodedLines::unitIs(qint64 p, char ascii) const
{
    if (m_unit == 1)
        return m_data[p] == ascii;
    const char low = m_encoding == EncodingUnicode ? m_data[p] : m_data[p + 1];
    const char high = m_encoding == EncodingUnicode ? m_data[p + 1] : m_data[p];
    return low == ascii && high == 0;
}

bool CodedLines::lineFeedAt(qint64 p) const
{
    return p >= m_bom && p + m_unit <= m_length && unitIs(p, '\n');
}

// Single bytes are searched for with the C library, which reads many at once.
qint64 CodedLines::lineStart(qint64 p) const
{
    if (m_unit == 1 && p > m_bom) {
        const void *found = ::memrchr(m_data + m_bom, '\n', size_t(p - m_bom));
        return found ? static_cast<const char *>(found) - m_data + 1 : m_bom;
    }
    while (p > m_bom && !lineFeedAt(p - m_unit))
        p -= m_unit;
    return qMax(p, qint64(m_bom));
}

qint64 CodedLines::lineEnd(qint64 p) const
{
    p = qMax(p, qint64(m_bom));
    if (m_unit == 1) {
        const void *found = std::memchr(m_data + p, '\n', size_t(m_length - p));
        return found ? static_cast<const char *>(found) - m_data + 1 : m_length;
    }
    for (; p + m_unit <= m_length; p += m_unit) {
        if (lineFeedAt(p))
            return p + m_unit;
    }
    return m_length;
}

qint64 CodedLines::linesBack(qint64 p, int count) const
{
    for (; count > 0 && p > m_bom; --count)
        p = lineStart(p - m_unit);
    return p;
}

qint64 CodedLines::linesForward(qint64 p, int count) const
{
    for (; count > 0 && p < m_length; --count)
        p = lineEnd(p);
    return p;
}

qint64 CodedLines::countLineFeeds(qint64 from, qint64 to) const
{
    if (m_unit == 1)
        return std::count(m_data + from, m_data + to, '\n');
    qint64 count = 0;
    for (qint64 p = from; p + 2 <= to; p += 2)
        count += lineFeedAt(p);
    return count;
}

qint64 CodedLines::countLines(qint64 from, qint64 to) const
{
    if (from >= to)
        return 0;
    return countLineFeeds(from, to) + !lineFeedAt(to - m_unit);
}

QString CodedLines::decode(qint64 from, qint64 to) const
{
    const char *bytes = m_data + from;
    const qsizetype count = qsizetype(to - from);
    switch (m_encoding) {
    case EncodingUtf8:
        return QString::fromUtf8(bytes, count);
    case EncodingUnicode:
    case EncodingUnicodeBigEndian: {
        QString text(count / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < count / 2; ++i) {
            const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
            const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
            text[i] = QChar(m_encoding == EncodingUnicode ? char16_t(b0 | b1 << 8)
                                                          : char16_t(b0 << 8 | b1));
        }
        return text;
    }
    default: {
        const QByteArray ansi = QByteArray::fromRawData(bytes, count);
        return m_ansiCharset ? DecodeInCharset(ansi, *m_ansiCharset) : CodePage::toQString(ansi);
    }
    }
}

DiffLine CodedLines::line(DiffLine::Kind kind, qint64 from, qint64 to, MarkCursor &marks) const
{
    DiffLine line;
    line.kind = kind;
    qint64 textEnd = to;
    if (lineFeedAt(to - m_unit)) {
        textEnd -= m_unit;
        if (textEnd - m_unit >= from && unitIs(textEnd - m_unit, '\r'))
            textEnd -= m_unit;
    } else {
        line.missingNewline = true;
    }
    while (marks.at != marks.stop && marks.endOf(*marks.at) <= from)
        ++marks.at;
    qint64 at = from;
    for (const Edit *edit = marks.at; edit != marks.stop && marks.startOf(*edit) < textEnd;
         ++edit) {
        const qint64 markStart = qMax(from, marks.startOf(*edit));
        const qint64 markEnd = qMin(textEnd, marks.endOf(*edit));
        if (markEnd <= markStart)
            continue;
        line.text += decode(at, markStart);
        const QString marked = decode(markStart, markEnd);
        line.marks.append({int(line.text.size()), int(marked.size())});
        line.text += marked;
        at = markEnd;
    }
    line.text += decode(at, textEnd);
    return line;
}
