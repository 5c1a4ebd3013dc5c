#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One piece of a regular-expression pair's replacement text: literal text, or
// a reference to a group of the pattern (by number, 0 being the whole match,
// or by name).
struct ReplacementPiece {
    QString literal;
    int group = -1; // -1: not a numbered reference
    QString name;   // empty: not a named reference

    bool isLiteral() const { return group < 0 && name.isEmpty(); }
    friend bool operator==(const ReplacementPiece &, const ReplacementPiece &) = default;
};

// Splits a replacement text into pieces. "$1" to "$99" (at most two digits,
// read greedily; "$0" is the whole match), "${n}" and "${name}" refer to a
// group, "$$" stands for one dollar sign; every other character, a "$" that
// begins none of these forms included, stands for itself, line breaks too.
// Adjacent literal text forms one piece; no piece is empty.
QList<ReplacementPiece> ParseReplacementTemplate(QStringView text);
