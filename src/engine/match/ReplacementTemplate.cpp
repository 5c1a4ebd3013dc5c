#include "engine/match/ReplacementTemplate.h"

#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A group name as the pattern may declare it: a letter or "_", then letters,
// digits or "_" (ASCII).
bool isGroupName(QStringView text)
{
    if (text.isEmpty() || isDigit(text.front()))
        return false;
    for (QChar c : text) {
        const bool ascii = c.unicode() < 0x80;
        if (!ascii || !(c.isLetterOrNumber() || c == u'_'))
            return false;
    }
    return true;
}

bool isNumber(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!isDigit(c))
            return false;
    return true;
}

// A number too large for an int refers to a group no pattern has.
int groupNumber(QStringView digits)
{
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? number : std::numeric_limits<int>::max();
}

class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    QList<ReplacementPiece> run()
    {
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at];
            if (c != u'$' || !reference())
                appendLiteral(m_text.mid(m_at++, 1));
        }
        return m_pieces;
    }

private:
    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }

    // Reads the reference that starts with the "$" at m_at; false when the
    // "$" stands for itself.
    bool reference()
    {
        const QChar next = at(m_at + 1);
        if (next == u'$') {
            appendLiteral(u"$");
            m_at += 2;
            return true;
        }
        if (isDigit(next)) {
            const qsizetype digits = isDigit(at(m_at + 2)) ? 2 : 1;
            appendGroup(groupNumber(m_text.mid(m_at + 1, digits)), {});
            m_at += 1 + digits;
            return true;
        }
        if (next != u'{')
            return false;
        const qsizetype close = m_text.indexOf(u'}', m_at + 2);
        if (close < 0)
            return false;
        const QStringView inside = m_text.mid(m_at + 2, close - m_at - 2);
        if (isNumber(inside))
            appendGroup(groupNumber(inside), {});
        else if (isGroupName(inside))
            appendGroup(-1, inside.toString());
        else
            return false;
        m_at = close + 1;
        return true;
    }

    void appendLiteral(QStringView text)
    {
        if (m_pieces.isEmpty() || !m_pieces.back().isLiteral())
            m_pieces.append(ReplacementPiece{});
        m_pieces.back().literal += text;
    }

    void appendGroup(int number, const QString &name)
    {
        ReplacementPiece piece;
        piece.group = number;
        piece.name = name;
        m_pieces.append(piece);
    }

    QStringView m_text;
    qsizetype m_at = 0;
    QList<ReplacementPiece> m_pieces;
};

} // namespace

QList<ReplacementPiece> ParseReplacementTemplate(QStringView text)
{
    return Parser(text).run();
}
