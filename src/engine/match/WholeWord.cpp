#include "engine/match/WholeWord.h"

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

namespace {

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The start of the character that ends just before `start`.
qint64 previousCharacter(const char *data, int encoding, int bomLength, qint64 start)
{
    if (encoding == EncodingUnicode || encoding == EncodingUnicodeBigEndian) {
        const bool bigEndian = encoding == EncodingUnicodeBigEndian;
        const bool pairEnds = start - 4 >= bomLength
            && QChar::isLowSurrogate(EncodingsDetail::utf16UnitAt(data, start - 2, bigEndian))
            && QChar::isHighSurrogate(EncodingsDetail::utf16UnitAt(data, start - 4, bigEndian));
        return start - (pairEnds ? 4 : 2);
    }
    qint64 position = start - 1;
    if (encoding == EncodingUtf8)
        while (position > bomLength && isContinuationByte(data[position]))
            --position;
    return position;
}

bool isWordCharacterAt(const char *data, qint64 length, int encoding, qint64 position)
{
    char32_t c = 0;
    return DecodeCharacter(data, position, length, encoding, c) && CodePage::isWordCharacter(c);
}

} // namespace

bool FollowsWordCharacter(const char *data, qint64 length, int encoding, int bomLength,
                          qint64 start)
{
    return start > bomLength
        && isWordCharacterAt(data, length, encoding,
                             previousCharacter(data, encoding, bomLength, start));
}

bool IsWholeWord(const char *data, qint64 length, int encoding, int bomLength, qint64 start,
                 qint64 end)
{
    return !FollowsWordCharacter(data, length, encoding, bomLength, start)
        && !isWordCharacterAt(data, length, encoding, end);
}
