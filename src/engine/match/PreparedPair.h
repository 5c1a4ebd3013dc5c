#pragma once

#include "settings/PairOptions.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

// The characters a white-space mode treats as white space: space, tab and
// no-break space, and in the modes with end of line also carriage return and
// line feed.
class WhiteSpaceSet
{
public:
    explicit WhiteSpaceSet(bool withEndOfLine = false) : m_endOfLine(withEndOfLine) {}

    bool contains(char32_t c) const
    {
        return c == U' ' || c == U'\t' || c == 0xA0
            || (m_endOfLine && (c == U'\r' || c == U'\n'));
    }

private:
    bool m_endOfLine;
};

// Every run of white space becomes exactly one space.
QString NormalizeWhiteSpace(const QString &text, const WhiteSpaceSet &set);
QString RemoveWhiteSpace(const QString &text, const WhiteSpaceSet &set);

enum class PatternUnitKind : quint8 { Literal, SingleWildcard, MultiWildcard };

// One string pair made ready for a scan of a file in a given encoding.
//
// In UTF-8 and UTF-16 files the pair matches the characters of its text. In
// ANSI files it matches the bytes that spell its text in its display charset,
// read as Windows-1252 characters; a pair whose texts its charset cannot
// spell does not occur in such a file and gets no pattern.
struct PreparedPair {
    PairOptions options;
    WhiteSpaceSet whiteSpace;
    QString findText;            // as entered, decoded from its cell form
    QString replacementText;     // decoded from its cell form
    QByteArray replacementBytes; // in the file's encoding
    QString shownPattern;        // the pattern as the status bar shows it

    // One character (code point) per character of the searched text (white
    // space handled), upper-cased unless the pair is case sensitive.
    // Wildcards are recognised before upper-casing, so a letter wildcard keeps
    // working.
    std::u32string pattern;
    std::vector<PatternUnitKind> kinds;
};

// `findCell` and `replacementCell` are in cell form; `encoding` 1..4. The
// find text is read as a zero-terminated text: the pattern ends at its first
// zero character (a zero of ANSI or UTF-16 text would otherwise match), so the
// pattern may be empty even when the find text is not.
PreparedPair PreparePair(const QString &findCell, const QString &replacementCell,
                         const QString &optionsText, int encoding);
