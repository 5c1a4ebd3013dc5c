#include "engine/match/PairMatcher.h"

#include "engine/match/WholeWord.h"

namespace {

// The folded units a character must have to begin a match of a pattern that
// starts with a literal unit. In the Normalize modes a leading space stands
// for any white space of the text.
std::vector<char32_t> firstUnits(const PreparedPair &pair)
{
    std::vector<char32_t> units{pair.pattern.front()};
    if (pair.options.normalizes() && pair.pattern.front() == U' ') {
        for (char32_t white : {U'\t', char32_t(0xA0), U'\r', U'\n'})
            if (pair.whiteSpace.contains(white))
                units.push_back(white);
    }
    return units;
}

} // namespace

PairMatcher::PairMatcher(const PreparedPair &pair, const char *data, qint64 length,
                         int encoding, int bomLength, bool skipAhead)
    : m_pair(pair),
      m_data(data),
      m_length(length),
      m_encoding(encoding),
      m_bomLength(bomLength),
      m_patternLength(qsizetype(pair.pattern.size())),
      m_normalize(pair.options.normalizes()),
      m_ignore(pair.options.ignoresWhiteSpace()),
      m_reader(data, length, encoding, pair.options.caseSensitive)
{
    Q_ASSERT(m_patternLength > 0);
    m_state.pos = bomLength;
    if (skipAhead && pair.kinds.front() == PatternUnitKind::Literal)
        m_finder.emplace(data, length, m_reader, firstUnits(pair));
}

PairMatcher::Stop PairMatcher::scan(qint64 pauseAt)
{
    while (!m_ended && m_state.pos < m_length) {
        if (m_state.pos >= pauseAt)
            return Stop::Paused;
        if (m_state.pi == 0 && m_finder) {
            const qint64 next = m_finder->next(m_state.pos, qMin(pauseAt, m_length));
            if (next != m_state.pos) {
                // The skipped characters took part in no comparison; the last
                // of them was no white space (in Normalize mode every white
                // space can begin a match once the pattern starts with one).
                m_state.pos = next;
                m_state.previous = 0;
                continue;
            }
        }
        switch (step()) {
        case Step::Accepted: return Stop::Match;
        case Step::NoCharacter: m_ended = true; break;
        case Step::Continue: break;
        }
    }
    return Stop::End;
}

bool PairMatcher::advances(char32_t c) const
{
    switch (m_pair.kinds[size_t(m_state.pi)]) {
    case PatternUnitKind::SingleWildcard:
    case PatternUnitKind::MultiWildcard: return true;
    case PatternUnitKind::Literal: break;
    }
    const char32_t unit = m_pair.pattern[size_t(m_state.pi)];
    return c == unit || (m_normalize && unit == U' ' && m_pair.whiteSpace.contains(c));
}

void PairMatcher::fail()
{
    ScanState &s = m_state;
    if (s.restart < 0)
        return;
    const bool wholeAttemptFailed = s.anchor == 0 && s.pi > 0;
    s.pos = s.restart;
    s.restart = -1;
    s.pi = s.anchor;
    if (wholeAttemptFailed && m_normalize && attemptBeganWithWhiteSpace())
        skipAttemptsThatEndAlike();
}

bool PairMatcher::attemptBeganWithWhiteSpace() const
{
    qint64 pos = m_state.matchStart;
    char32_t c;
    return m_reader.read(pos, c) && m_pair.whiteSpace.contains(c);
}

// The failed attempt began with a white-space character (taken by a space or
// a wildcard of the pattern) and passed over the rest of its run (a run counts
// as its first character). Each later character of that run either begins an
// attempt of its own, which is in the same state once the run is passed and so
// fails at the same character, or, when that character was white space too, is
// passed over as part of a run. Either way the scan goes on after the run. With
// whole words those attempts all follow white space, so this one must not have
// followed a word character.
void PairMatcher::skipAttemptsThatEndAlike()
{
    ScanState &s = m_state;
    if (m_pair.options.wholeWords
        && FollowsWordCharacter(m_data, m_length, m_encoding, m_bomLength, s.matchStart))
        return;
    while (s.pos < m_length) {
        qint64 next = s.pos;
        char32_t c;
        if (!m_reader.read(next, c) || !m_pair.whiteSpace.contains(c))
            return;
        s.pos = next;
    }
}

PairMatcher::Step PairMatcher::step()
{
    ScanState &s = m_state;
    if (s.pi == 0)
        s.matchStart = s.pos;
    char32_t c;
    if (!m_reader.read(s.pos, c))
        return Step::NoCharacter;
    if (s.anchor == s.pi)
        s.restart = s.pos;
    if (m_ignore && m_pair.whiteSpace.contains(c))
        return Step::Continue;
    if (m_normalize && m_pair.whiteSpace.contains(c) && m_pair.whiteSpace.contains(s.previous))
        return Step::Continue;
    s.previous = c;

    // At the pattern's end (only after a failed whole-word test) a trailing
    // multi-character wildcard extends its run; anything else fails.
    const bool afterMulti =
        s.pi > 0 && m_pair.kinds[size_t(s.pi - 1)] == PatternUnitKind::MultiWildcard;
    if (s.pi < m_patternLength && advances(c))
        ++s.pi;
    else if (afterMulti)
        s.anchor = s.pi;
    else
        fail();

    if (s.pi != m_patternLength)
        return Step::Continue;
    if (m_pair.options.wholeWords
        && !IsWholeWord(m_data, m_length, m_encoding, m_bomLength, s.matchStart, s.pos))
        return Step::Continue;
    s.matchEnd = s.pos - 1;
    s.anchor = 0;
    s.pi = 0;
    return Step::Accepted;
}
