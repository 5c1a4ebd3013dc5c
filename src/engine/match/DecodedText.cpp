#include "engine/match/DecodedText.h"

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t ReplacementCharacter = 0xFFFD;
constexpr qsizetype CheckpointSpacing = 64;
constexpr qint64 Block = 16;

bool isHighSurrogate(char16_t u)
{
    return (u & 0xFC00) == 0xD800;
}
bool isLowSurrogate(char16_t u)
{
    return (u & 0xFC00) == 0xDC00;
}

// Widens a block of 16 bytes below 0x80 to units; false when a byte of the
// block is 0x80 or above.
bool widenAsciiBlock(const char *in, char16_t *out)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    if (_mm_movemask_epi8(bytes) != 0)
        return false;
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(bytes, zero));
    return true;
#else
    for (int i = 0; i < Block; ++i)
        if (static_cast<unsigned char>(in[i]) >= 0x80)
            return false;
    for (int i = 0; i < Block; ++i)
        out[i] = char16_t(in[i]);
    return true;
#endif
}

// One UTF-8 character at `pos`: its units (one or two) and the position after
// it. The lead byte alone decides the length, as the pair matcher reads it.
int decodeUtf8Character(const char *data, qint64 length, qint64 &pos, char16_t units[2])
{
    const auto byte = [data](qint64 i) { return static_cast<unsigned char>(data[i]); };
    const unsigned char lead = byte(pos);
    const int further = lead < 0xC0 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    const qint64 start = pos;
    pos = qMin(length, pos + 1 + further);
    if (lead < 0x80) {
        units[0] = lead;
        return 1;
    }
    bool wellFormed = further > 0 && pos - start == 1 + further;
    for (qint64 i = start + 1; wellFormed && i < pos; ++i)
        wellFormed = (byte(i) & 0xC0) == 0x80;
    units[0] = ReplacementCharacter;
    if (!wellFormed)
        return 1;
    if (further < 3) {
        qint64 next = start;
        char32_t character = 0;
        DecodeCharacter(data, next, length, EncodingUtf8, character);
        const auto unit = char16_t(character);
        units[0] = isHighSurrogate(unit) || isLowSurrogate(unit) ? ReplacementCharacter : unit;
        return 1;
    }
    const char32_t code = char32_t(lead & 0x07) << 18 | char32_t(byte(start + 1) & 0x3F) << 12
        | char32_t(byte(start + 2) & 0x3F) << 6 | char32_t(byte(start + 3) & 0x3F);
    if (code < 0x10000 || code > 0x10FFFF)
        return 1;
    units[0] = char16_t(0xD800 + ((code - 0x10000) >> 10));
    units[1] = char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    return 2;
}

} // namespace

DecodedText::DecodedText(const char *data, qint64 length, int encoding, int bomLength)
    : m_data(data), m_length(length), m_encoding(encoding), m_bomLength(bomLength),
      m_textEnd(length)
{
    switch (encoding) {
    case EncodingUtf8: decodeUtf8(); break;
    case EncodingUnicode:
    case EncodingUnicodeBigEndian: decodeUtf16(); break;
    default: decodeAnsi(); break;
    }
}

void DecodedText::decodeAnsi()
{
    const qint64 count = qMax<qint64>(0, m_length - m_bomLength);
    m_units.resize(count);
    auto *out = reinterpret_cast<char16_t *>(m_units.data());
    const char *in = m_data + m_bomLength;
    qint64 i = 0;
    for (; i + Block <= count; i += Block) {
        if (widenAsciiBlock(in + i, out + i))
            continue;
        for (qint64 j = i; j < i + Block; ++j)
            out[j] = CodePage::toUnicode(static_cast<unsigned char>(in[j]));
    }
    for (; i < count; ++i)
        out[i] = CodePage::toUnicode(static_cast<unsigned char>(in[i]));
}

void DecodedText::decodeUtf16()
{
    const qint64 count = qMax<qint64>(0, (m_length - m_bomLength) / 2);
    m_textEnd = m_bomLength + 2 * count;
    m_units.resize(count);
    auto *out = reinterpret_cast<char16_t *>(m_units.data());
    const char *in = m_data + m_bomLength;
    if (m_encoding == EncodingUnicode && QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(out, in, size_t(2 * count));
    } else {
        const bool bigEndian = m_encoding == EncodingUnicodeBigEndian;
        for (qint64 i = 0; i < count; ++i)
            out[i] = EncodingsDetail::utf16UnitAt(m_data, m_bomLength + 2 * i, bigEndian);
    }
    for (qint64 i = 0; i < count; ++i) {
        if ((out[i] & 0xF800) != 0xD800)
            continue;
        if (isHighSurrogate(out[i]) && i + 1 < count && isLowSurrogate(out[i + 1]))
            ++i;
        else
            out[i] = ReplacementCharacter;
    }
}

void DecodedText::decodeUtf8()
{
    const qint64 count = qMax<qint64>(0, m_length - m_bomLength);
    // Never more units than bytes: a two-unit character takes four bytes.
    m_units.resize(count);
    auto *out = reinterpret_cast<char16_t *>(m_units.data());
    qsizetype unit = 0;
    qint64 pos = m_bomLength;
    qsizetype nextCheckpoint = 0;
    while (pos < m_length) {
        if (unit >= nextCheckpoint) {
            m_checkpoints.push_back({unit, pos});
            nextCheckpoint = unit + CheckpointSpacing;
        }
        if (pos + Block <= m_length && widenAsciiBlock(m_data + pos, out + unit)) {
            pos += Block;
            unit += Block;
            continue;
        }
        char16_t units[2];
        const int n = decodeUtf8Character(m_data, m_length, pos, units);
        for (int k = 0; k < n; ++k)
            out[unit++] = units[k];
    }
    m_units.truncate(unit);
}

qint64 DecodedText::byteOffset(qsizetype unit) const
{
    switch (m_encoding) {
    case EncodingUtf8: break;
    case EncodingUnicode:
    case EncodingUnicodeBigEndian: return qMin(m_textEnd, m_bomLength + 2 * qint64(unit));
    default: return m_bomLength + qint64(unit);
    }
    if (m_checkpoints.empty())
        return m_bomLength;
    const auto after = std::upper_bound(
        m_checkpoints.cbegin(), m_checkpoints.cend(), unit,
        [](qsizetype u, const Checkpoint &c) { return u < c.unit; });
    const Checkpoint &from = *std::prev(after);
    qsizetype at = from.unit;
    qint64 pos = from.byte;
    while (at < unit && pos < m_length) {
        char16_t units[2];
        at += decodeUtf8Character(m_data, m_length, pos, units);
    }
    return pos;
}
