#include "engine/match/BytePattern.h"

#include "engine/text/Encodings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool sevenBit(const char *data, qint64 length)
{
    constexpr std::uint64_t HighBits = 0x8080808080808080ULL;
    qint64 at = 0;
    std::uint64_t seen = 0;
    for (; at + 8 <= length; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + at, sizeof word);
        seen |= word;
    }
    for (; at < length; ++at)
        seen |= static_cast<unsigned char>(data[at]);
    return (seen & HighBits) == 0;
}

} // namespace

std::optional<QByteArray> PlainBytePattern(const PreparedPair &pair, const char *data,
                                           qint64 length, int encoding, int bomLength)
{
    const PairOptions &options = pair.options;
    if (!options.caseSensitive || options.wholeWords || options.whiteSpace != WhiteSpaceMode::None
        || (encoding != EncodingAnsi && encoding != EncodingUtf8) || pair.pattern.empty()
        || std::any_of(pair.kinds.begin(), pair.kinds.end(),
                       [](PatternUnitKind kind) { return kind != PatternUnitKind::Literal; })
        || std::any_of(pair.pattern.begin(), pair.pattern.end(),
                       [](char32_t c) { return c == 0 || c >= 0x80; }))
        return std::nullopt;
    if (encoding == EncodingUtf8 && !sevenBit(data + bomLength, length - bomLength))
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(qsizetype(pair.pattern.size()));
    for (const char32_t c : pair.pattern)
        bytes.append(char(c));
    return bytes;
}

const char *FindBytes(const char *begin, const char *end, const QByteArray &pattern)
{
    const qsizetype length = pattern.size();
    if (end - begin < length)
        return nullptr;
    const char *at = begin;
#ifdef __SSE2__
    if (length > 1) {
        const __m128i first = _mm_set1_epi8(pattern.front());
        const __m128i last = _mm_set1_epi8(pattern.back());
        for (; end - at >= length - 1 + 16; at += 16) {
            const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
            const __m128i ends =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + length - 1));
            unsigned candidates = unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
            for (; candidates != 0; candidates &= candidates - 1) {
                const char *candidate = at + __builtin_ctz(candidates);
                if (std::memcmp(candidate + 1, pattern.constData() + 1, size_t(length - 2)) == 0)
                    return candidate;
            }
        }
    }
#endif
    return static_cast<const char *>(
        ::memmem(at, size_t(end - at), pattern.constData(), size_t(length)));
}
