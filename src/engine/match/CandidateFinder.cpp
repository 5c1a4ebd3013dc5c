#include "engine/match/CandidateFinder.h"

#include <algorithm>

namespace {

// The units that upper-case to each unit, built once: a first unit of a
// pattern that is not case sensitive stands for all of them.
class UpperCaseSources
{
public:
    UpperCaseSources()
    {
        std::vector<char16_t> upper(Units);
        for (quint32 unit = 0; unit < Units; ++unit) {
            upper[unit] = CodePage::unitUpper(char16_t(unit));
            ++m_start[upper[unit] + 1];
        }
        for (quint32 unit = 0; unit < Units; ++unit)
            m_start[unit + 1] += m_start[unit];
        std::vector<quint32> fill(m_start.begin(), m_start.end() - 1);
        for (quint32 unit = 0; unit < Units; ++unit)
            m_sources[fill[upper[unit]]++] = char16_t(unit);
    }

    void append(char32_t upper, std::vector<char32_t> &out) const
    {
        if (upper >= Units) {
            appendAstral(upper, out);
            return;
        }
        out.insert(out.end(), m_sources.begin() + m_start[upper],
                   m_sources.begin() + m_start[upper + 1]);
    }

private:
    static constexpr quint32 Units = 0x10000;

    // Beyond the Basic Multilingual Plane the few letters with a case live in
    // the Supplementary Multilingual Plane; they are looked up when asked for.
    static void appendAstral(char32_t upper, std::vector<char32_t> &out)
    {
        for (char32_t c = Units; c < 2 * Units; ++c)
            if (CodePage::characterUpper(c) == upper)
                out.push_back(c);
        if (std::find(out.begin(), out.end(), upper) == out.end())
            out.push_back(upper);
    }

    std::vector<quint32> m_start = std::vector<quint32>(Units + 1, 0);
    std::vector<char16_t> m_sources = std::vector<char16_t>(Units);
};

std::vector<char32_t> charactersReadingAs(const std::vector<char32_t> &folded,
                                          const CharacterReader &reader)
{
    std::vector<char32_t> units;
    for (char32_t target : folded) {
        if (reader.caseSensitive()) {
            units.push_back(target);
            continue;
        }
        static const UpperCaseSources sources;
        sources.append(target, units);
    }
    return units;
}

// Bytes that can begin a character reading as one of `firstUnits`: the bytes
// themselves in ANSI, the low byte of its first unit in UTF-16, and in UTF-8
// every lead byte whose sequence could decode to it, overlong forms included.
ByteSearch::ByteSet startBytes(const std::vector<char32_t> &firstUnits,
                               const CharacterReader &reader)
{
    ByteSearch::ByteSet set{};
    const int encoding = reader.encoding();
    if (encoding == EncodingAnsi) {
        for (int byte = 0; byte < 256; ++byte) {
            const char32_t unit = reader.fold(CodePage::toUnicode(uchar(byte)));
            set[byte] = std::find(firstUnits.begin(), firstUnits.end(), unit) != firstUnits.end();
        }
        return set;
    }
    for (char32_t unit : charactersReadingAs(firstUnits, reader)) {
        if (encoding != EncodingUtf8) {
            const char16_t first = unit < 0x10000 ? char16_t(unit) : QChar::highSurrogate(unit);
            set[first & 0xFF] = true;
            continue;
        }
        if (unit < 0x80)
            set[unit] = true;
        if (unit < 0x800)
            set[0xC0 | unit >> 6] = true;
        if (unit < 0x10000)
            set[0xE0 | unit >> 12] = true;
        // Four-byte sequences, the lead bytes from 0xF8 on read as 0xF0 to 0xF7.
        set[0xF0 | ((unit >> 18) & 0x07)] = true;
        set[0xF8 | ((unit >> 18) & 0x07)] = true;
    }
    return set;
}

int utf8LeadLength(unsigned char lead)
{
    if (lead < 0xC0)
        return 1;
    if (lead < 0xE0)
        return 2;
    return lead < 0xF0 ? 3 : 4;
}

} // namespace

CandidateFinder::CandidateFinder(const char *data, qint64 length, const CharacterReader &reader,
                                 std::vector<char32_t> firstUnits)
    : m_bytes(reinterpret_cast<const unsigned char *>(data)),
      m_length(length),
      m_reader(reader),
      m_firstUnits(std::move(firstUnits)),
      m_searchLength(reader.encoding() == EncodingUnicodeBigEndian ? qMax<qint64>(0, length - 1)
                                                                   : length),
      m_search(reader.encoding() == EncodingUnicodeBigEndian ? data + 1 : data, m_searchLength,
               startBytes(m_firstUnits, reader))
{
}

qint64 CandidateFinder::next(qint64 from, qint64 limit)
{
    switch (m_reader.encoding()) {
    case EncodingAnsi: return nextAnsi(from, limit);
    case EncodingUtf8: return nextUtf8(from, limit);
    default: return nextUtf16(from, limit);
    }
}

bool CandidateFinder::isFirstUnit(char32_t c) const
{
    return std::find(m_firstUnits.begin(), m_firstUnits.end(), c) != m_firstUnits.end();
}

qint64 CandidateFinder::nextAnsi(qint64 from, qint64 limit)
{
    return m_search.find(from, limit);
}

qint64 CandidateFinder::nextUtf16(qint64 from, qint64 limit)
{
    // Units start at an even distance from `from`; a hit at an odd one is a
    // byte of two neighbouring units.
    limit = from + ((limit - from) & ~qint64(1));
    qint64 position = from;
    while (position < limit) {
        const qint64 hit = m_search.find(position, qMin(limit, m_searchLength));
        if (hit >= qMin(limit, m_searchLength))
            break;
        if ((hit - from) & 1) {
            position = hit + 1;
            continue;
        }
        qint64 after = hit;
        char32_t unit;
        if (!m_reader.read(after, unit) || isFirstUnit(unit))
            return hit;
        position = after;
    }
    return limit;
}

qint64 CandidateFinder::utf8Length(qint64 start) const
{
    return qMin<qint64>(utf8LeadLength(m_bytes[start]), m_length - start);
}

qint64 CandidateFinder::utf8LastStartAtOrBefore(qint64 known, qint64 position) const
{
    // A position is surely a character start when none of the three bytes
    // before it (from `known` on) is a lead byte long enough to reach it.
    const auto surelyStart = [&](qint64 s) {
        for (qint64 back = 1; back <= 3 && s - back >= known; ++back)
            if (utf8LeadLength(m_bytes[s - back]) > back)
                return false;
        return true;
    };
    qint64 start = position;
    const qint64 floor = qMax(known, position - 8);
    while (start > floor && !surelyStart(start))
        --start;
    if (!surelyStart(start))
        start = known;
    while (start + utf8Length(start) <= position)
        start += utf8Length(start);
    return start;
}

qint64 CandidateFinder::nextUtf8(qint64 from, qint64 limit)
{
    qint64 known = from; // always a character start
    for (;;) {
        const qint64 hit = m_search.find(known, limit);
        if (hit >= limit) {
            if (limit >= m_length)
                return m_length;
            const qint64 start = utf8LastStartAtOrBefore(known, limit);
            return start == limit ? limit : start + utf8Length(start);
        }
        const qint64 start = utf8LastStartAtOrBefore(known, hit);
        if (start == hit) {
            qint64 after = hit;
            char32_t unit;
            if (!m_reader.read(after, unit) || isFirstUnit(unit))
                return hit;
            known = after;
        } else {
            known = start + utf8Length(start);
        }
        if (known >= limit)
            return known;
    }
}
