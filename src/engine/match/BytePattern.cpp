#include "engine/match/BytePattern.h"

#include "engine/text/Encodings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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
