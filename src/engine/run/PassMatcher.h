#pragma once

#include "engine/match/PairMatcher.h"
#include "engine/match/PreparedPair.h"
#include "engine/match/RegexMatcher.h"

#include <QByteArray>
#include <QtGlobal>

// What a string pair's pass over one file needs from its matcher: the next
// match, and what replaces it. A literal pair and a regular-expression pair
// each have one; the pass (copying, asking, counting, progress) is the same.
class PassMatcher
{
public:
    enum class Stop { Match, Paused, End, LimitReached };

    virtual ~PassMatcher() = default;

    // Scans on until a match, the position `pauseAt` (a matcher may pass it
    // and stop at the next match instead) or the end of the text.
    virtual Stop scan(qint64 pauseAt) = 0;
    // How far the scan has come, for progress.
    virtual qint64 position() const = 0;

    // The bytes [matchStart(), matchEnd()) of the current match, and what
    // replaces them in the file's encoding.
    virtual qint64 matchStart() const = 0;
    virtual qint64 matchEnd() const = 0;
    virtual QByteArray replacement() const = 0;
    // The replacement as text, for the confirmation.
    virtual QString shownReplacement() const = 0;
};

class LiteralPassMatcher final : public PassMatcher
{
public:
    LiteralPassMatcher(const PreparedPair &pair, const char *data, qint64 length, int encoding,
                       int bomLength)
        : m_pair(pair), m_matcher(pair, data, length, encoding, bomLength)
    {
    }

    Stop scan(qint64 pauseAt) override;
    qint64 position() const override { return m_matcher.state().pos; }
    qint64 matchStart() const override { return m_matcher.state().matchStart; }
    qint64 matchEnd() const override { return m_matcher.state().matchEnd + 1; }
    QByteArray replacement() const override { return m_pair.replacementBytes; }
    QString shownReplacement() const override { return m_pair.replacementText; }

private:
    const PreparedPair &m_pair;
    PairMatcher m_matcher;
};

// A plain pair searched for as bytes (see PlainBytePattern): the same
// matches as LiteralPassMatcher, found by one vectorised search each.
class BytePassMatcher final : public PassMatcher
{
public:
    BytePassMatcher(const PreparedPair &pair, QByteArray pattern, const char *data, qint64 length,
                    int bomLength)
        : m_pair(pair), m_pattern(std::move(pattern)), m_data(data), m_length(length),
          m_position(bomLength)
    {
    }

    Stop scan(qint64 pauseAt) override;
    qint64 position() const override { return m_position; }
    qint64 matchStart() const override { return m_matchStart; }
    qint64 matchEnd() const override { return m_matchStart + m_pattern.size(); }
    QByteArray replacement() const override { return m_pair.replacementBytes; }
    QString shownReplacement() const override { return m_pair.replacementText; }

private:
    const PreparedPair &m_pair;
    const QByteArray m_pattern;
    const char *m_data;
    qint64 m_length;
    qint64 m_position;
    qint64 m_matchStart = 0;
};

// A search runs on to the next match wherever it is: it does not pause.
class RegexPassMatcher final : public PassMatcher
{
public:
    RegexPassMatcher(const RegexPair &pair, const char *data, qint64 length, int encoding,
                     int bomLength, bool wholeWords)
        : m_matcher(pair, data, length, encoding, bomLength, wholeWords), m_encoding(encoding)
    {
    }

    Stop scan(qint64 pauseAt) override;
    qint64 position() const override { return m_position; }
    qint64 matchStart() const override { return m_matcher.matchStart(); }
    qint64 matchEnd() const override { return m_matcher.matchEnd(); }
    QByteArray replacement() const override { return m_matcher.replacement(); }
    QString shownReplacement() const override;

private:
    RegexMatcher m_matcher;
    int m_encoding;
    qint64 m_position = 0;
};
