// The matcher with skip-ahead, paused every few bytes, must find exactly what
// the plain scan finds. Input: an encoding byte, an options byte, a pause
// byte, then the find text up to a zero byte, then the text to search.
#include "engine/match/PairMatcher.h"
#include "engine/match/PreparedPair.h"
#include "engine/text/CodePage.h"
#include "support/MatcherScan.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Bits of the options byte: case sensitive, two bits of white-space mode,
// whole words, wildcards "?" and "*".
QByteArray optionsText(uint8_t bits)
{
    static const char *const whiteSpace[] = {"", "n", "N", "i"};
    QByteArray text;
    if (bits & 1)
        text += 'c';
    text += whiteSpace[(bits >> 1) & 3];
    if (bits & 8)
        text += 'w';
    if (bits & 16)
        text += "(?*)";
    if (bits & 32)
        text.replace('i', 'I');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const int encoding = EncodingAnsi + data[0] % 4;
    const QByteArray options = optionsText(data[1]);
    const qint64 chunk = data[2] % 7 + 1;
    const int bomLength = (data[2] >> 3) % 3;
    const QByteArray rest(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    const qsizetype split = rest.indexOf('\0');
    if (split <= 0)
        return 0;
    const QByteArray find = rest.left(split);
    const QByteArray text = rest.mid(split + 1);
    const PreparedPair pair = PreparePair(CodePage::toQString(find), QString(),
                                          QString::fromLatin1(options), encoding);
    if (pair.pattern.empty())
        return 0;
    const Matches plain = matchesOf(pair, text, encoding, bomLength, false, text.size() + 1);
    if (matchesOf(pair, text, encoding, bomLength, true, chunk) != plain)
        std::abort();
    return 0;
}
