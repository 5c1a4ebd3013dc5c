#include "engine/match/RequiredLiteral.h"

#include <optional>

namespace {

// Escapes of one letter that take no argument and stand for no character of
// their own (classes, anchors) or for a control character.
constexpr QStringView SimpleLetterEscapes = u"wWdDsSbBAzZGhHvVRXnrtfeaK";

bool isAsciiAlnum(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

class Reader
{
public:
    Reader(QStringView pattern, bool caseSensitive)
        : m_p(pattern), m_caseSensitive(caseSensitive)
    {
    }

    // The run, or nothing when the pattern holds something this reading does
    // not follow.
    std::optional<QString> run()
    {
        if (m_p.contains(u'|') || m_p.contains(u"(*") || m_p.contains(u"\\Q"))
            return std::nullopt;
        while (m_at < m_p.size()) {
            if (!item())
                return std::nullopt;
        }
        endRun();
        return m_best;
    }

private:
    QChar at(qsizetype i) const { return i < m_p.size() ? m_p[i] : QChar(); }

    // Reads one item with its quantifier; false to give up.
    bool item()
    {
        const QChar c = m_p[m_at];
        switch (c.unicode()) {
        case '\\': return escape();
        case '[': return skipClass() && other();
        case '(': return skipGroup() && other();
        case ')': return false;
        case '*':
        case '+':
        case '?':
        case '{': return quantifier();
        case '.':
        case '^':
        case '$': ++m_at; return other();
        default: break;
        }
        ++m_at;
        // A zero would end the text of the byte search.
        if (c.unicode() >= 0x80 || c.isNull() || (!m_caseSensitive && (c == u'k' || c == u'K')))
            return other();
        return literal(c);
    }

    bool escape()
    {
        const QChar c = at(m_at + 1);
        if (c.isNull())
            return false;
        m_at += 2;
        if (c.unicode() < 0x80 && !isAsciiAlnum(c))
            return literal(c);
        // Letter escapes with an argument (\x, \p, \g, \k, \N, ...) and
        // digits (back-references, octal) are not followed.
        return SimpleLetterEscapes.contains(c) && other();
    }

    bool skipClass()
    {
        qsizetype j = m_at + 1;
        if (at(j) == u'^')
            ++j;
        if (at(j) == u']')
            ++j;
        while (j < m_p.size()) {
            if (m_p[j] == u'\\') {
                j += 2;
            } else if (m_p[j] == u'[' && at(j + 1) == u':') {
                const qsizetype close = m_p.indexOf(u":]", j + 2);
                if (close < 0)
                    return false;
                j = close + 2;
            } else if (m_p[j] == u']') {
                m_at = j + 1;
                return true;
            } else {
                ++j;
            }
        }
        return false;
    }

    // A group of any kind but an option setting ("(?i)", "(?x:") counts as
    // one item; its inside is not looked at.
    bool skipGroup()
    {
        if (at(m_at + 1) == u'?') {
            const QChar kind = at(m_at + 2);
            const bool named = kind == u'P' && at(m_at + 3) == u'<';
            if (!named && !QStringView(u":=!><'").contains(kind))
                return false;
        }
        int depth = 0;
        qsizetype j = m_at;
        while (j < m_p.size()) {
            const QChar c = m_p[j];
            if (c == u'\\') {
                j += 2;
                continue;
            }
            if (c == u'[') {
                const qsizetype saved = m_at;
                m_at = j;
                if (!skipClass())
                    return false;
                j = m_at;
                m_at = saved;
                continue;
            }
            if (c == u'(')
                ++depth;
            else if (c == u')' && --depth == 0) {
                m_at = j + 1;
                return true;
            }
            ++j;
        }
        return false;
    }

    // A quantifier makes the item before it repeat: a literal character
    // before "*", "?" or "{" may be absent, one before "+" is there at least
    // once. A "{" that begins no quantifier is a character of its own.
    bool quantifier()
    {
        const QChar c = m_p[m_at];
        if (c == u'{') {
            const qsizetype close = m_p.indexOf(u'}', m_at);
            const QStringView inside =
                close < 0 ? QStringView() : m_p.mid(m_at + 1, close - m_at - 1);
            if (!isQuantifierBody(inside)) {
                ++m_at;
                return other();
            }
            m_at = close + 1;
        } else {
            ++m_at;
        }
        if (at(m_at) == u'?' || at(m_at) == u'+')
            ++m_at; // lazy or possessive
        if (m_lastWasLiteral && c != u'+')
            m_run.chop(1);
        return other();
    }

    static bool isQuantifierBody(QStringView inside)
    {
        const qsizetype comma = inside.indexOf(u',');
        const QStringView low = comma < 0 ? inside : inside.left(comma);
        const QStringView high = comma < 0 ? QStringView() : inside.mid(comma + 1);
        const auto digits = [](QStringView s) {
            for (QChar d : s)
                if (d < u'0' || d > u'9')
                    return false;
            return true;
        };
        return !low.isEmpty() && digits(low) && digits(high);
    }

    bool literal(QChar c)
    {
        m_run += c;
        m_lastWasLiteral = true;
        return true;
    }

    // An item that is no plain character ends the run.
    bool other()
    {
        endRun();
        m_lastWasLiteral = false;
        return true;
    }

    void endRun()
    {
        if (m_run.size() > m_best.size())
            m_best = m_run;
        m_run.clear();
    }

    QStringView m_p;
    bool m_caseSensitive;
    qsizetype m_at = 0;
    QString m_run;
    QString m_best;
    bool m_lastWasLiteral = false;
};

} // namespace

QString RequiredLiteral(QStringView pattern, bool caseSensitive)
{
    return Reader(pattern, caseSensitive).run().value_or(QString());
}
