#include "engine/run/PassMatcher.h"

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
