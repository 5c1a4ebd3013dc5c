#pragma once

#include <QString>
#include <QStringList>

// The command-line switches. A switch is written with a hyphen or a slash in
// front (the two are the same) and compares without regard to case. The
// arguments are those after the program name.

// The arguments after the program name, as text. Read before a
// QCoreApplication is made, as that takes Qt's own options out of argv.
QStringList CommandLineArguments(int argc, char *argv[]);

// True when some argument that begins with a hyphen or a slash begins with
// `switchName` ("-r" or "/r"); so "-rx" also has the switch "-r".
bool HasSwitch(const QStringList &arguments, const QString &switchName);

// The text after the switch, and after one colon that follows it, of the last
// argument that has the switch ("-fC.ini" and "/F:C.ini" both give "C.ini");
// empty text when no argument has it.
QString SwitchValue(const QStringList &arguments, const QString &switchName);

// True when the only argument is "/CheckInternet": the process then reports
// the connection state as its exit code and does nothing else.
bool IsConnectionCheck(const QStringList &arguments);

// What the switches ask of a start.
struct StartupRequest {
    bool noArguments = false;  // the start-up tip is shown only then
    QString settingsFile;      // "-f"
    bool run = false;          // "-r"
    bool unattended = false;   // "-r" together with "-s"
    bool preview = false;      // "--preview": show what a run of "-f" would change
    bool undo = false;         // "--undo": take the last run back
    // "--color=auto|always|never" ("--color" alone: always) for the preview;
    // empty when the value is none of these.
    QString color = QStringLiteral("auto");

    static StartupRequest fromArguments(const QStringList &arguments);
};
