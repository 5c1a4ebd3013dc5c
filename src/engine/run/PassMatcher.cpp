#include "engine/run/PassMatcher.h"

#include "engine/match/BytePattern.h"
#include "engine/text/Encodings.h"

PassMatcher::Stop LiteralPassMatcher::scan(qint64 pauseAt)
{
    switch (m_matcher.scan(pauseAt)) {
    case PairMatcher::Stop::Match: return Stop::Match;
    case PairMatcher::Stop::Paused: return Stop::Paused;
    case PairMatcher::Stop::End: break;
    }
    return Stop::End;
}

PassMatcher::Stop BytePassMatcher::scan(qint64 pauseAt)
{
    // Every match that begins before `pauseAt` is looked for, and no further.
    const qint64 end = qMin(m_length, pauseAt + m_pattern.size() - 1);
    const char *found =
        m_position < end ? FindBytes(m_data + m_position, m_data + end, m_pattern) : nullptr;
    if (found) {
        m_matchStart = found - m_data;
        m_position = m_matchStart + m_pattern.size();
        return Stop::Match;
    }
    m_position = qMax(m_position, qMin(pauseAt, m_length));
    return m_position >= m_length ? Stop::End : Stop::Paused;
}

PassMatcher::Stop RegexPassMatcher::scan(qint64)
{
    switch (m_matcher.next()) {
    case RegexMatcher::Stop::Match: m_position = m_matcher.matchEnd(); return Stop::Match;
    case RegexMatcher::Stop::LimitReached: return Stop::LimitReached;
    case RegexMatcher::Stop::End: break;
    }
    return Stop::End;
}

QString RegexPassMatcher::shownReplacement() const
{
    const QByteArray bytes = replacement();
    return DecodeStretch(bytes.constData(), bytes.size(), m_encoding);
}
