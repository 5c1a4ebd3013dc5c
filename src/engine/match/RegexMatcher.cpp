#include "engine/match/RegexMatcher.h"

#include "engine/match/PairMatcher.h"
#include "engine/match/WholeWord.h"
#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"
#include "settings/CellText.h"

namespace {

// The subject is valid UTF-16 by construction (DecodedText), so PCRE2 need
// not check it again for every search.
constexpr auto SearchOptions = QRegularExpression::DontCheckSubjectStringMatchOption;

} // namespace

RegexMatcher::RegexMatcher(const RegexPair &pair, const char *data, qint64 length, int encoding,
                           int bomLength, bool wholeWords)
    : m_pair(pair),
      m_data(data),
      m_length(length),
      m_encoding(encoding),
      m_bomLength(bomLength),
      m_wholeWords(wholeWords)
{
    if (!pair.requiredLiteral.isEmpty())
        m_literal = PreparePair(EncodeCellText(pair.requiredLiteral), {},
                                pair.caseSensitive ? QStringLiteral("c") : QString(), encoding);
    for (const ReplacementPiece &piece : pair.replacement)
        m_literalBytes.append(piece.isLiteral()
                                  ? EncodeReplacement(piece.literal, encoding)
                                  : QByteArray());
}

// The literal is plain ASCII, which every coding reads alike in the pair
// matcher and in the decoded text, and without case sensitivity it holds no
// letter whose other cases the matcher's folding misses: where the expression
// matches, the matcher finds the literal.
bool RegexMatcher::literalOccursFrom(qint64 byte) const
{
    if (!m_literal)
        return true;
    // The scan starts where a byte-order mark would end.
    PairMatcher matcher(*m_literal, m_data, m_length, m_encoding, int(byte));
    return matcher.scan(m_length) == PairMatcher::Stop::Match;
}

void RegexMatcher::searchFrom(qsizetype unit)
{
    m_searchedFrom = unit;
    m_matches = m_pair.search.globalMatch(m_text->units(), unit,
                                          QRegularExpression::NormalMatch, SearchOptions);
}

qsizetype RegexMatcher::characterAfter(qsizetype unit) const
{
    const QString &units = m_text->units();
    if (unit + 1 < units.size() && units[unit].isHighSurrogate())
        return unit + 2;
    return unit + 1;
}

RegexMatcher::Stop RegexMatcher::next()
{
    if (m_ended)
        return Stop::End;
    if (!m_text) {
        if (!literalOccursFrom(m_bomLength)) {
            m_ended = true;
            return Stop::End;
        }
        m_text.emplace(m_data, m_length, m_encoding, m_bomLength);
        searchFrom(0);
    }
    while (m_matches.hasNext()) {
        m_match = m_matches.next();
        const qsizetype start = m_match.capturedStart();
        const qsizetype end = m_match.capturedEnd();
        m_start = m_text->byteOffset(start);
        m_end = m_text->byteOffset(end);
        if (m_wholeWords
            && !IsWholeWord(m_data, m_length, m_encoding, m_bomLength, m_start, m_end)) {
            searchFrom(characterAfter(start));
            continue;
        }
        // After an empty match the next one is either longer at the same
        // place, which only the iterator can look for, or further on (past
        // a whole CR LF, as the iterator moves).
        m_searchedFrom = end > start ? end : characterAfter(end);
        if (end == start && m_searchedFrom < m_text->units().size()
            && m_text->units()[end] == u'\r' && m_text->units()[m_searchedFrom] == u'\n')
            ++m_searchedFrom;
        return Stop::Match;
    }
    m_ended = true;
    return noMatchFrom(m_searchedFrom) ? Stop::End : Stop::LimitReached;
}

// True when the search from `unit` rightly found nothing: either the text
// after it lacks the pattern's literal, or the probe reaches its sentinel at
// the end of the text. A probe that finds no match at all, or a match the
// search did not find, has met a limit the search met too.
bool RegexMatcher::noMatchFrom(qsizetype unit) const
{
    const QString &units = m_text->units();
    if (unit > units.size())
        return true;
    if (!literalOccursFrom(m_text->byteOffset(unit)))
        return true;
    const QRegularExpressionMatch probe = m_pair.probe.match(
        units, unit, QRegularExpression::NormalMatch, SearchOptions);
    return probe.hasMatch() && probe.capturedStart(m_pair.probeSentinelGroup) >= 0;
}

QByteArray RegexMatcher::replacement() const
{
    QByteArray bytes;
    for (qsizetype i = 0; i < m_pair.replacement.size(); ++i) {
        const ReplacementPiece &piece = m_pair.replacement[i];
        if (piece.isLiteral()) {
            bytes += m_literalBytes[i];
            continue;
        }
        const qsizetype start = m_match.capturedStart(piece.group);
        if (start < 0)
            continue; // a group that took no part in the match
        const qint64 from = m_text->byteOffset(start);
        const qint64 to = m_text->byteOffset(m_match.capturedEnd(piece.group));
        bytes.append(m_data + from, to - from);
    }
    return bytes;
}
