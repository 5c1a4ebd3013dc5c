#pragma once

// The text library answers "what do these bytes say?": the code pages, the
// file codings and their byte-order marks, the content scan that tells text
// from binary, and reading a buffer as UTF-16 code units. It uses no other
// engine library.

#include "engine/text/CodePage.h"
#include "settings/FileEncoding.h"

#include <QByteArray>
#include <QtGlobal>

// Everything that depends on a file's encoding: the byte-order mark, the
// content guess, the binary test, reading one character as a UTF-16 code unit,
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

// Reads the character at pos (encoding 1..4) as one UTF-16 code unit and moves
// pos past it. Returns false, leaving pos, when no character starts there: pos
// is at the end, or only the unpaired last byte of UTF-16 text remains. A
// malformed UTF-8 sequence reads as unit 0, which matches no pattern unit.
// Inline because the matcher calls it for every character.
inline bool DecodeUnit(const char *bytes, qint64 &pos, qint64 length, int encoding,
                       char16_t &unit);

// The ANSI text in the file's encoding, without a byte-order mark.
QByteArray EncodeReplacement(const QByteArray &ansi, int encoding);

// A stretch of the file as ANSI text, for display.
QByteArray DecodeToAnsi(const char *bytes, qint64 count, int encoding);

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

// The lead byte alone decides the length, whatever follows; a four-byte
// sequence reads as the unit of its first three bytes. Overlong forms decode
// by their bits.
inline char16_t decodeUtf8(const char *bytes, qint64 &pos, qint64 length)
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
        return char16_t(((lead & 0x1F) << 6) | (byteAt(bytes, start) & 0x3F));
    return char16_t(((lead & 0x0F) << 12) | ((byteAt(bytes, start) & 0x3F) << 6)
                    | (byteAt(bytes, start + 1) & 0x3F));
}

} // namespace EncodingsDetail

inline bool DecodeUnit(const char *bytes, qint64 &pos, qint64 length, int encoding,
                       char16_t &unit)
{
    using namespace EncodingsDetail;
    switch (encoding) {
    case EncodingUtf8:
        if (pos >= length)
            return false;
        unit = decodeUtf8(bytes, pos, length);
        return true;
    case EncodingUnicode:
    case EncodingUnicodeBigEndian: {
        if (length - pos < 2)
            return false;
        const unsigned char first = byteAt(bytes, pos);
        const unsigned char second = byteAt(bytes, pos + 1);
        unit = encoding == EncodingUnicode ? char16_t(first | (second << 8))
                                           : char16_t((first << 8) | second);
        pos += 2;
        return true;
    }
    default:
        if (pos >= length)
            return false;
        unit = CodePage::toUnicode(byteAt(bytes, pos++));
        return true;
    }
}
