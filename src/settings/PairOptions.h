#pragma once

#include <QByteArray>

enum class WhiteSpaceMode { None, Normalize, NormalizeInclEol, Ignore, IgnoreInclEol };

// The matching options of one string pair, as held in its options text: an
// optional "c" (case sensitive), one white-space letter ("n", "N", "i", "I"),
// an optional "w" (whole words), "(" single wildcard, multi wildcard ")" with
// "-" for not assigned, and "[" display charset "]". The letter "r" (written
// after the others) makes the find text a regular expression.
struct PairOptions {
    bool caseSensitive = false;
    WhiteSpaceMode whiteSpace = WhiteSpaceMode::None;
    bool wholeWords = false;
    bool regularExpression = false;
    char singleWildcard = 0; // 0: not assigned
    char multiWildcard = 0;  // 0: not assigned
    QByteArray displayCharset = "Default";

    bool normalizes() const
    {
        return whiteSpace == WhiteSpaceMode::Normalize
            || whiteSpace == WhiteSpaceMode::NormalizeInclEol;
    }
    bool ignoresWhiteSpace() const
    {
        return whiteSpace == WhiteSpaceMode::Ignore || whiteSpace == WhiteSpaceMode::IgnoreInclEol;
    }
    bool includesEndOfLine() const
    {
        return whiteSpace == WhiteSpaceMode::NormalizeInclEol
            || whiteSpace == WhiteSpaceMode::IgnoreInclEol;
    }

    friend bool operator==(const PairOptions &, const PairOptions &) = default;
};

// The matcher's reading of an options text. A text that names both white-space
// modes (only a hand-edited file can) is read as Ignore: dropping white space
// is the more tolerant of the two.
PairOptions PairOptionsFromText(const QByteArray &text);

QByteArray OptionsToText(const PairOptions &options);

// The letter "r" among the flags. Unlike the older letters it is looked for
// only before the first "(" and the first "[", so that a hand-written text
// such as "[Greek]" keeps meaning a plain pair.
bool HasRegularExpressionLetter(const QByteArray &optionsText);

// The characters between the first `open` and the first `close` when `open`
// occurs before `close`; otherwise the whole text.
QByteArray TextBetween(const QByteArray &text, char open, char close);
