#pragma once

#include "settings/PairOptions.h"

#include <QByteArray>
#include <string>
#include <vector>

// The characters a white-space mode treats as white space: space, tab and
// no-break space, and in the modes with end of line also carriage return and
// line feed. Works on UTF-16 units and on Windows-1252 bytes alike (the
// no-break space is 0xA0 in both).
class WhiteSpaceSet
{
public:
    explicit WhiteSpaceSet(bool withEndOfLine = false) : m_endOfLine(withEndOfLine) {}

    bool contains(char16_t c) const
    {
        return c == u' ' || c == u'\t' || c == 0xA0
            || (m_endOfLine && (c == u'\r' || c == u'\n'));
    }

private:
    bool m_endOfLine;
};

// Every run of white space becomes exactly one space.
QByteArray NormalizeWhiteSpace(const QByteArray &text, const WhiteSpaceSet &set);
QByteArray RemoveWhiteSpace(const QByteArray &text, const WhiteSpaceSet &set);

enum class PatternUnitKind : quint8 { Literal, SingleWildcard, MultiWildcard };

// One string pair made ready for a scan of a file in a given encoding.
struct PreparedPair {
    PairOptions options;
    WhiteSpaceSet whiteSpace;
    QByteArray findText;         // as entered, decoded from its cell form
    QByteArray replacementText;  // decoded from its cell form
    QByteArray replacementBytes; // in the file's encoding
    QByteArray shownPattern;     // the pattern as ANSI text, for the status bar

    // One UTF-16 unit per character of the find text (white space handled),
    // upper-cased unit by unit unless the pair is case sensitive. Wildcards are
    // recognised before upper-casing, so a letter wildcard keeps working.
    std::u16string pattern;
    std::vector<PatternUnitKind> kinds;
};

// `findCell` and `replacementCell` are in cell form; `encoding` 1..4. The
// find text is read as a zero-terminated text: the pattern ends at its first
// zero byte (a zero byte of ANSI or UTF-16 text would otherwise match), so the
// pattern may be empty even when the find text is not.
PreparedPair PreparePair(const QByteArray &findCell, const QByteArray &replacementCell,
                         const QByteArray &optionsText, int encoding);
