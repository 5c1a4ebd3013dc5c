#pragma once

#include "engine/match/PreparedPair.h"

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// A plain pair (case sensitive; no wildcard, white-space mode or whole words)
// whose pattern is all ASCII has the same bytes wherever it matches in an ANSI
// file, and in UTF-8 text that holds no other byte: there one byte search
// finds exactly the matches the character-by-character matcher finds. These
// are the bytes to search for in the text from `bomLength` on, or nothing
// where that does not hold (UTF-8 text with a byte over 0x7F may hold
// malformed or overlong sequences that read as ASCII characters).
std::optional<QByteArray> PlainBytePattern(const PreparedPair &pair, const char *data,
                                           qint64 length, int encoding, int bomLength);

// The first occurrence of `pattern` (not empty) in [begin, end), or null. Where
// the processor has SSE2, 16 positions at a time are tested for the pattern's
// first and last byte and only those are compared whole: unlike memmem, a call
// costs nothing to set up, which counts when matches are close together.
const char *FindBytes(const char *begin, const char *end, const QByteArray &pattern);
