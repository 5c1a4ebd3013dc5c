#pragma once

// The text library answers "what do these bytes say?": the code pages, the
// file codings and their byte-order marks, the content scan that tells text
// from binary, and reading a buffer character by character. It uses no other
// engine library.

#include "engine/text/CodePage.h"
#include "settings/FileEncoding.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QtGlobal>

struct DisplayCharset;

// Everything that depends on a file's encoding: the byte-order mark, the
// content guess, the binary test, reading one character as a code point,
// encoding the replacement and decoding a stretch for display. Files are never
// converted as a whole.

struct CodingDetection {
    int bomKind = EncodingNone;      // 2, 3, 4 or 255
    int contentGuess = EncodingNone; // 1..4 or 255 (cannot tell)
    int bomLength = 0;               // 3, 2 or 0
};

// The plain byte loops; ScanContent (ContentScan.h) gives the same results in
// one vectorised pass and is what file processing uses.
CodingDetection DetectCoding(const char *bytes, qint64 size);

// The byte-order mark alone; the content guess is left at 255.
CodingDetection DetectMark(const char *bytes, qint64 size);

// The content guess from the zero bytes at even and odd offsets (counted from
// the end of the mark) and the loose UTF-8 test (a byte with its top bit set
// after the mark, and no neighbour pair that UTF-8 forbids).
int GuessCoding(qint64 size, qint64 evenZeros, qint64 oddZeros, bool looksLikeUtf8);

// True when the buffer holds a character with code 0..8, 11, 12 or 14..31
// (encoding 1..4).
bool HasNonPrintable(const char *bytes, qint64 size, int encoding);

// Reads the character at pos (encoding 1..4) as one code point and moves pos
// past it. Returns false, leaving pos, when no character starts there: pos is
// at the end, or only the unpaired last byte of UTF-16 text remains. A
// malformed UTF-8 sequence reads as 0, which matches no pattern character; a
// UTF-16 surrogate without its partner reads as itself. Inline because the
// matcher calls it for every character.
inline bool DecodeCharacter(const char *bytes, qint64 &pos, qint64 length, int encoding,
                            char32_t &character);

// The text in the file's encoding, without a byte-order mark. For an ANSI file
// the text holds one Windows-1252 character per byte.
QByteArray EncodeReplacement(const QString &text, int encoding);

// A stretch of the file as text, for display: Unicode text up to its first
// zero character, ANSI bytes all of them, read through `charset`
// (Windows-1252 when none is given).
QString DecodeStretch(const char *bytes, qint64 count, int encoding,
                      const DisplayCharset *charset = nullptr);

// "ANSI", "UTF-8", "Unicode", "Unicode (big endian)" for 1..4; empty otherwise.
QByteArray CodingName(int encoding);

namespace EncodingsDetail {

inline unsigned char byteAt(const char *bytes, qint64 pos)
{
    return static_cast<unsigned char>(bytes[pos]);
}

inline bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Codes 0..8, 11, 12 and 14..31: tab, line feed and carriage return print.
inline bool isNonPrintable(unsigned char code)
{
    return code <= 8 || code == 11 || code == 12 || (code >= 14 && code <= 31);
}

// The pairs the loose UTF-8 test rejects: a lead byte after a lead byte, a
// continuation after a 7-bit byte, a 7-bit byte after a lead byte.
inline bool utf8Forbids(unsigned char previous, unsigned char current)
{
    const bool previousLead = previous >= 0xC0;
    return (previousLead && current >= 0xC0) || (previous < 0x80 && isContinuation(current))
        || (previousLead && current < 0x80);
}

// The lead byte alone decides the length, whatever follows (a lead byte from
// 0xF8 on counts as one of four bytes). Overlong forms decode by their bits.
inline char32_t decodeUtf8(const char *bytes, qint64 &pos, qint64 length)
{
    const unsigned char lead = byteAt(bytes, pos++);
    if (lead < 0x80)
        return lead;
    if (isContinuation(lead))
        return 0;
    const int further = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    if (length - pos < further) {
        pos = length;
        return 0;
    }
    bool wellFormed = true;
    for (int i = 0; i < further; ++i)
        wellFormed = wellFormed && isContinuation(byteAt(bytes, pos + i));
    const qint64 start = pos;
    pos += further;
    if (!wellFormed)
        return 0;
    if (further == 1)
        return char32_t(((lead & 0x1F) << 6) | (byteAt(bytes, start) & 0x3F));
    if (further == 2)
        return char32_t(((lead & 0x0F) << 12) | ((byteAt(bytes, start) & 0x3F) << 6)
                        | (byteAt(bytes, start + 1) & 0x3F));
    return char32_t(((lead & 0x07) << 18) | ((byteAt(bytes, start) & 0x3F) << 12)
                    | ((byteAt(bytes, start + 1) & 0x3F) << 6) | (byteAt(bytes, start + 2) & 0x3F));
}

inline char16_t utf16UnitAt(const char *bytes, qint64 pos, bool bigEndian)
{
    const unsigned char first = byteAt(bytes, pos);
    const unsigned char second = byteAt(bytes, pos + 1);
    return bigEndian ? char16_t((first << 8) | second) : char16_t(first | (second << 8));
}

} // namespace EncodingsDetail

inline bool DecodeCharacter(const char *bytes, qint64 &pos, qint64 length, int encoding,
                            char32_t &character)
{
    using namespace EncodingsDetail;
    switch (encoding) {
    case EncodingUtf8:
        if (pos >= length)
            return false;
        character = decodeUtf8(bytes, pos, length);
        return true;
    case EncodingUnicode:
    case EncodingUnicodeBigEndian: {
        if (length - pos < 2)
            return false;
        const bool bigEndian = encoding == EncodingUnicodeBigEndian;
        const char16_t unit = utf16UnitAt(bytes, pos, bigEndian);
        pos += 2;
        character = unit;
        if (QChar::isHighSurrogate(unit) && length - pos >= 2) {
            const char16_t low = utf16UnitAt(bytes, pos, bigEndian);
            if (QChar::isLowSurrogate(low)) {
                character = QChar::surrogateToUcs4(unit, low);
                pos += 2;
            }
        }
        return true;
    }
    default:
        if (pos >= length)
            return false;
        character = CodePage::toUnicode(byteAt(bytes, pos++));
        return true;
    }
}
