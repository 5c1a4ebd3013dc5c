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
    if (encoding == EncodingUnicode || encoding == EncodingUnicodeBigEndian)
        return start - 2;
    qint64 position = start - 1;
    if (encoding == EncodingUtf8)
        while (position > bomLength && isContinuationByte(data[position]))
            --position;
    return position;
}

bool isWordCharacterAt(const char *data, qint64 length, int encoding, qint64 position)
{
    char16_t unit = 0;
    return DecodeUnit(data, position, length, encoding, unit) && CodePage::isWordUnit(unit);
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
