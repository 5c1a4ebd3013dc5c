#pragma once

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

CodingDetection DetectCoding(const char *bytes, qint64 size);

// True when the buffer holds a character with code 0..8, 11, 12 or 14..31
// (encoding 1..4).
bool HasNonPrintable(const char *bytes, qint64 size, int encoding);

// Reads the character at pos (encoding 1..4) as one UTF-16 code unit and moves
// pos past it. Returns false, leaving pos, when no character starts there: pos
// is at the end, or only the unpaired last byte of UTF-16 text remains. A
// malformed UTF-8 sequence reads as unit 0, which matches no pattern unit.
bool DecodeUnit(const char *bytes, qint64 &pos, qint64 length, int encoding, char16_t &unit);

// The ANSI text in the file's encoding, without a byte-order mark.
QByteArray EncodeReplacement(const QByteArray &ansi, int encoding);

// A stretch of the file as ANSI text, for display.
QByteArray DecodeToAnsi(const char *bytes, qint64 count, int encoding);

// "ANSI", "UTF-8", "Unicode", "Unicode (big endian)" for 1..4; empty otherwise.
QByteArray CodingName(int encoding);
