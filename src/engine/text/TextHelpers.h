#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct DisplayCharset;

// The text itself when it has at most n characters, else its first n - 3
// characters followed by "...".
QString ShortenText(const QString &text, int n);

// For showing file text in a text box: every control character other than
// tab, line feed and carriage return becomes a middle dot (U+00B7), every
// line feed gets a carriage return before it, and a byte that spells no
// character (see DisplayCharsets.h) shows as U+FFFD.
QString DisplaySafeText(const QString &text);

// A match and its surroundings as the replace confirmation shows them:
// decoded, display-safe, at most eight lines and 1024 characters (units of the
// encoding) on each side.
struct MatchContext {
    QString before;
    QString found;
    QString after;
};

// `matchStart` is the first byte of the match and `matchEnd` its last byte.
// ANSI text is read through `charset`.
MatchContext BuildMatchContext(const char *data, qint64 length, int encoding, int bomLength,
                               qint64 matchStart, qint64 matchEnd, const DisplayCharset &charset);
