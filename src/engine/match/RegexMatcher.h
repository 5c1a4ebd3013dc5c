#pragma once

#include "engine/match/DecodedText.h"
#include "engine/match/PreparedPair.h"
#include "engine/match/RegexPair.h"

#include <QByteArray>
#include <QRegularExpressionMatchIterator>
#include <optional>

// The matches of a regular-expression pair in one buffer, left to right and
// not overlapping, as PCRE2's global substitution finds them: an empty match
// is followed by a search for a longer one at the same place, then one
// character further on. All matches are searched in the text as read, so
// replaced text is never searched again.
//
// A pair whose pattern needs a literal run of text skips a file without it
// by the pair matcher's byte search, before the file is decoded at all.
class RegexMatcher
{
public:
    enum class Stop { Match, End, LimitReached };

    // With `wholeWords` a match that touches a word character on either side
    // (the whole-word test of literal pairs) is passed over and the search
    // goes on one character after its start.
    RegexMatcher(const RegexPair &pair, const char *data, qint64 length, int encoding,
                 int bomLength, bool wholeWords);

    // The next match; LimitReached when PCRE2 gave up (its match limit or its
    // stack) before it could tell whether more matches follow: the matches
    // found so far are then not to be trusted as all of them.
    Stop next();

    // The bytes [matchStart(), matchEnd()) of the current match.
    qint64 matchStart() const { return m_start; }
    qint64 matchEnd() const { return m_end; }

    // What replaces the current match, in the file's encoding: the literal
    // parts encoded, each group's text copied from the buffer as it stands.
    QByteArray replacement() const;

private:
    bool literalOccursFrom(qint64 byte) const;
    void searchFrom(qsizetype unit);
    qsizetype characterAfter(qsizetype unit) const;
    bool noMatchFrom(qsizetype unit) const;

    const RegexPair &m_pair;
    const char *m_data;
    qint64 m_length;
    int m_encoding;
    int m_bomLength;
    bool m_wholeWords;
    std::optional<PreparedPair> m_literal;
    QList<QByteArray> m_literalBytes; // one per replacement piece
    std::optional<DecodedText> m_text;
    QRegularExpressionMatchIterator m_matches;
    QRegularExpressionMatch m_match;
    qsizetype m_searchedFrom = 0; // where the search stands that found no match yet
    bool m_ended = false;
    qint64 m_start = 0;
    qint64 m_end = 0;
};
