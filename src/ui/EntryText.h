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
