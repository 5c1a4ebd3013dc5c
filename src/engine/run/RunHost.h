#pragma once

#include "settings/CellTable.h"

#include <QByteArray>
#include <QString>
#include <array>

// The engine talks to the user only through this interface. The main window,
// the console run and the tests each implement it. Every call is made on the
// thread that runs the engine; questions are modal and return the answer.

enum class ContinueAnswer { Yes, All, No, Cancel };

enum class ReplaceAnswer { Yes, No, YesToAllInFile, NoToAllInFile, YesToAllFiles, Cancel };

// The pages of the main window a validation failure switches to.
enum class JobPage { Folders, Files, Strings, Options };

// Everything the replace confirmation shows for one match. The texts of the
// file are decoded (an ANSI file's through the pair's display charset) and
// already display-safe.
struct ReplaceConfirmation {
    QByteArray codingName;     // name of the file's effective coding
    QString codingReport;      // how that coding was worked out
    QByteArray displayCharset; // "Default" when the pair names none
    bool equidistantFont = false;
    QString contextBefore;
    QString foundText;
    QString contextAfter;
    QString replacement; // the replacement text, decoded from its cell form
    QString findText;    // the find text as entered
    QString path;
};

// What became of one file of a run.
struct FileOutcome {
    enum Kind { Written, Unchanged, Skipped, Failed };

    QString path;
    Kind kind = Unchanged;
    int coding = 255;         // the FileEncoding the file was read in; 255 when unread
    qint64 replacements = 0;  // made in the text, whether or not it was written
    QString reason;           // why it was skipped, or the failure message
};

class RunHost
{
public:
    virtual ~RunHost() = default;

    // The four-button question about one file. An empty caption hides its
    // button; closing the question answers Cancel.
    virtual ContinueAnswer AskContinue(const QString &message,
                                       const std::array<QString, 4> &captions) = 0;

    // The replace confirmation for one match.
    virtual ReplaceAnswer confirmReplace(const ReplaceConfirmation &match) = 0;

    // A Yes/No confirmation; true for Yes.
    virtual bool confirm(const QString &question) = 0;

    // An information message with an OK button.
    virtual void showMessage(const QString &message) = 0;

    // An information message with a "Don't show this message again" box; once
    // the user ticked it, the message is not shown again.
    virtual void ShowStickyMessage(const QString &message) = 0;

    // The step text (second status panel) and the progress "i/N" (first panel).
    virtual void setStatus(const QString &text) = 0;
    virtual void setProgress(const QString &text) = 0;

    // Lets the user interface process its pending events.
    virtual void pump() = 0;

    // The collected list for review; true when the user chose to continue.
    // The user may remove rows.
    virtual bool showFileList(PathTable &files) = 0;

    virtual void showStatistics(const PathTable &statistics) = 0;

    // Once for each file of the list that a run (not a preview) took up,
    // when its fate is known. A file written in the background is told when
    // its write is reported, so files can be told out of the list's order.
    virtual void fileFinished(const FileOutcome &) {}

    // A run started or ended processing files: while it processes, only
    // Break Process may be used.
    virtual void updateCommandStates(bool /*processing*/) {}

    virtual void showPage(JobPage) {}
    virtual void wizardStage(int) {}
    virtual void hideWizard() {}

    // The application title (the task bar text).
    virtual QString title() const { return QString(); }
    virtual void setTitle(const QString &) {}

    // The process exit code an unattended run reports.
    virtual void setExitCode(int) {}

    // A line for the record of an unattended run, which shows no dialog: why
    // it fails, or what it left alone. A console run writes it to standard
    // error; a window shows nothing.
    virtual void logLine(const QString &) {}
};
