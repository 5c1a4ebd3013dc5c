#pragma once

#include "engine/match/PairMatcher.h"

#include <QByteArray>
#include <utility>
#include <vector>

// Start and end of every match, as the matcher reports them.
using Matches = std::vector<std::pair<qint64, qint64>>;

// Every match of the pair, scanning in steps of `chunk` bytes. Shared by the
// matcher's tests and its fuzz target.
inline Matches matchesOf(const PreparedPair &pair, const QByteArray &text, int encoding,
                         int bomLength, bool skipAhead, qint64 chunk)
{
    PairMatcher matcher(pair, text.constData(), text.size(), encoding, bomLength, skipAhead);
    Matches matches;
    for (;;) {
        const PairMatcher::Stop stop = matcher.scan(matcher.state().pos + chunk);
        if (stop == PairMatcher::Stop::End)
            return matches;
        if (stop == PairMatcher::Stop::Match)
            matches.emplace_back(matcher.state().matchStart, matcher.state().matchEnd);
    }
}
