#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Checks the entry dialogs run on a typed or browsed text when they close.

// Trims blanks and control characters from both ends of the box's text and
// writes the result back; returns it.
QString TrimEntryText(QLineEdit *edit);

// The text without blanks and control characters at either end.
QString TrimmedEntryText(const QString &text);

// True when every character of `text` has a spelling in the job's code page,
// so that the job keeps it exactly.
bool HasAnsiSpelling(const QString &text);

// The same; otherwise tells the user, naming the field by `what` ("folder", "file
// mask", ...), and returns false: the job would store "?" in place of those
// characters and so name something else than the user chose.
bool AcceptAnsiEntry(QWidget *parent, const QString &what, const QString &text);
