#pragma once

#include <QString>
#include <QStringView>

// The longest run of plain characters that every match of a regular
// expression holds, so that text without it can be passed over without
// running the expression. Read conservatively: only ASCII characters at the
// top level (outside groups and classes, not made optional by a quantifier)
// of a pattern without alternatives, option settings, verbs or quoting count;
// when in doubt the result is empty, which means "no such run".
//
// Without case sensitivity the run holds no "k" or "K": the Kelvin sign
// matches them, and a byte search that folds case unit by unit would miss it.
QString RequiredLiteral(QStringView pattern, bool caseSensitive);
