#pragma once

#include "engine/run/RunHost.h"
#include "services/EventPump.h"

#include <QString>
#include <functional>

// The run host of an unattended run without a display: messages go to
// standard error with their designed texts, and the questions such a run still
// asks (back-up failure, read-only file) are answered "Skip this File", so
// nothing is modified that the job did not allow outright.
class ConsoleHost : public RunHost
{
public:
    // `suppressed` tells whether the user ticked "Don't show this message
    // again" for a message before; by default, the main window's marks in
    // the preferences.
    explicit ConsoleHost(std::function<bool(const QString &)> suppressed = MarkedInPreferences);

    static bool MarkedInPreferences(const QString &message);

    ContinueAnswer AskContinue(const QString &message,
                               const std::array<QString, 4> &captions) override;
    ReplaceAnswer confirmReplace(const ReplaceConfirmation &match) override;
    bool confirm(const QString &question) override;
    void showMessage(const QString &message) override;
    void ShowStickyMessage(const QString &message) override;
    void setStatus(const QString &) override {}
    void setProgress(const QString &progress) override;
    void updateCommandStates(bool processing) override;
    void logLine(const QString &line) override;
    void pump() override;
    bool showFileList(PathTable &) override { return true; }
    void showStatistics(const PathTable &) override {}
    QString title() const override { return m_title; }
    void setTitle(const QString &title) override { m_title = title; }
    void setExitCode(int code) override { m_exitCode = code; }

    int exitCode() const { return m_exitCode; }
    // The last progress "i/N" of the run, empty before the first file.
    const QString &progress() const { return m_progress; }

private:
    std::function<bool(const QString &)> m_suppressed;
    QString m_title;
    QString m_progress;
    int m_exitCode = 0;
    EventPump m_pump;
};
