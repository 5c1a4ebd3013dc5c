#pragma once

#include "engine/match/ByteSearch.h"
#include "engine/text/CharacterReader.h"

#include <QtGlobal>
#include <vector>

// Lets a scan that is between attempts skip every character that cannot
// begin a match: the characters whose folded code point is not one of
// `firstUnits`.
// It looks for the bytes that can start such a character and then confirms
// that a hit is a character of its own, as the character-by-character scan
// would read it (in UTF-8 a malformed lead byte swallows the bytes after it,
// so a hit may lie inside another character).
class CandidateFinder
{
public:
    CandidateFinder(const char *data, qint64 length, const CharacterReader &reader,
                    std::vector<char32_t> firstUnits);

    // The start of the first character at or after `from` (a character start)
    // whose unit is one of the first units, or, when none starts before
    // `limit`, the first character start at or after `limit`. Every
    // character from `from` up to the result is one that cannot begin a match.
    qint64 next(qint64 from, qint64 limit);

private:
    bool isFirstUnit(char32_t c) const;
    qint64 nextAnsi(qint64 from, qint64 limit);
    qint64 nextUtf16(qint64 from, qint64 limit);
    qint64 nextUtf8(qint64 from, qint64 limit);
    qint64 utf8LastStartAtOrBefore(qint64 known, qint64 position) const;
    qint64 utf8Length(qint64 start) const;

    const unsigned char *m_bytes;
    qint64 m_length;
    const CharacterReader &m_reader;
    std::vector<char32_t> m_firstUnits;
    // In UTF-16 the search looks at the low byte of each unit, so its
    // positions are unit starts.
    qint64 m_searchLength;
    ByteSearch m_search;
};
