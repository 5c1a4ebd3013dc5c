#pragma once

#include "engine/run/RunHost.h"
#include "services/EventPump.h"

class QWidget;

class TPKSarvonexFrm;

// The run host of the main window: questions and messages in dialogs owned
// by the window, the status bar panels, and event pumping that keeps the
// window responsive while a run goes on.
class WindowRunHost : public RunHost
{
public:
    explicit WindowRunHost(TPKSarvonexFrm &window) : m_window(window) {}

    ContinueAnswer AskContinue(const QString &message,
                               const std::array<QString, 4> &captions) override;
    ReplaceAnswer confirmReplace(const ReplaceConfirmation &match) override;
    bool confirm(const QString &question) override;
    void showMessage(const QString &message) override;
    void ShowStickyMessage(const QString &message) override;
    void setStatus(const QString &text) override;
    void setProgress(const QString &text) override;
    void pump() override;
    bool showFileList(PathTable &files) override;
    void showStatistics(const PathTable &statistics) override;
    void updateCommandStates(bool processing) override;
    void showPage(JobPage page) override;
    void wizardStage(int stage) override;
    void hideWizard() override;
    QString title() const override;
    void setTitle(const QString &title) override;
    void setExitCode(int code) override;

    // The window questions belong to; none while the window is kept off the
    // screen, so that they show on it.
    QWidget *dialogParent() const;

private:
    TPKSarvonexFrm &m_window;
    EventPump m_pump;
};
