#pragma once

// The match library answers "where does this pair match?": a pair prepared
// for one coding, the skip-ahead that finds candidates, and the matcher that
// confirms them under the pair's options. It reads text through the text
// library and knows nothing of files or runs.

#include "engine/match/CandidateFinder.h"
#include "engine/match/PreparedPair.h"
#include "engine/text/CharacterReader.h"

#include <QtGlobal>
#include <optional>

// Where one scan stands. Positions are byte offsets into the buffer.
struct ScanState {
    qint64 pos = 0;        // the next character to read
    qsizetype pi = 0;      // the next pattern unit to match
    qsizetype anchor = 0;  // pattern index to fall back to after a failure
    qint64 restart = -1;   // where to resume after a failure; -1: none
    qint64 matchStart = 0; // first byte of the current attempt
    qint64 matchEnd = 0;   // last byte of the last accepted match
    char32_t previous = 0; // the last character compared, for Normalize
};

// The one-pass matcher of a string pair over a buffer: case folding, white
// space (Normalize or Ignore), the two wildcards and whole words. It only
// finds matches; the caller decides what to do with them. Matches never
// overlap: the scan goes on just after each accepted match.
class PairMatcher
{
public:
    enum class Stop { Match, Paused, End };

    // The pair must have a pattern. With `skipAhead` a pattern that starts
    // with a literal character skips quickly over text that cannot begin a
    // match; the matches are the same either way.
    PairMatcher(const PreparedPair &pair, const char *data, qint64 length, int encoding,
                int bomLength, bool skipAhead = true);

    // Scans on until a match is accepted (state().matchStart..matchEnd, pos
    // just after it), the position reaches `pauseAt`, or the text ends.
    Stop scan(qint64 pauseAt);

    const ScanState &state() const { return m_state; }

private:
    enum class Step { Continue, Accepted, NoCharacter };

    Step step();
    bool advances(char32_t c) const;
    void fail();
    bool attemptBeganWithWhiteSpace() const;
    void skipAttemptsThatEndAlike();

    const PreparedPair &m_pair;
    const char *m_data;
    qint64 m_length;
    int m_encoding;
    int m_bomLength;
    qsizetype m_patternLength;
    bool m_normalize;
    bool m_ignore;
    bool m_ended = false;
    CharacterReader m_reader;
    std::optional<CandidateFinder> m_finder;
    ScanState m_state;
};
