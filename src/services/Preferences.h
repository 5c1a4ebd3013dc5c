#pragma once

#include <QString>
#include <QStringList>

// The per-user preference store: QSettings of organisation "Plimwick" and
// application ProductKey(), in the native format. Preference values live in
// the group "Default", the marks of "Don't show this message again" in the
// group "Common". Every value is a string named with the title without spaces
// and a full stop in front ("Sarvonex.FileHistoryList.ItemsCount").

// The name of the main window as owner of a message.
inline constexpr const char *MainWindowName = "PKSarvonexFrm";

void WritePreference(const QString &name, const QString &text);

// Empty text for a value that was never written.
QString ReadPreference(const QString &name);

// Stored as <list>.ItemsCount and <list>.Item0 ... A shorter list leaves the
// older items beyond its count in place; only the count decides what is read.
void SaveListToPreferences(const QString &listName, const QStringList &list);
QStringList LoadListFromPreferences(const QString &listName);

// The message's first line, only the characters with (Windows-1252) codes 33
// to 175, cut to 48 characters and lower-cased.
QString MessageKey(const QString &message);

// <title>.<owner>:<message key>; an empty owner name stands for "NoForm".
QString MessageMarkName(const QString &message, const QString &ownerName);

// True once the user asked not to see the message again.
bool HasMessageMark(const QString &message, const QString &ownerName);

// Records that the message is not to be shown again; false when the store
// could not be written (the message then simply comes again).
bool WriteMessageMark(const QString &message, const QString &ownerName);
