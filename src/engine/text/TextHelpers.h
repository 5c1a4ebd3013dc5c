#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The text itself when it has at most n characters, else its first n - 3
// characters followed by "...".
QString ShortenText(const QString &text, int n);

// For showing file text in a text box: every control character other than
// tab, line feed and carriage return becomes a middle dot (0xB7), and every
// line feed gets a carriage return before it.
QByteArray DisplaySafeText(const QByteArray &ansi);

// A match and its surroundings as the replace confirmation shows them: ANSI,
// display-safe, at most eight lines and 1024 characters (units of the
// encoding) on each side.
struct MatchContext {
    QByteArray before;
    QByteArray found;
    QByteArray after;
};

// `matchStart` is the first byte of the match and `matchEnd` its last byte.
MatchContext BuildMatchContext(const char *data, qint64 length, int encoding, int bomLength,
                               qint64 matchStart, qint64 matchEnd);
