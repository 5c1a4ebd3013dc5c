#pragma once

#include "engine/run/RunHost.h"
#include "engine/run/RunState.h"
#include "engine/run/WriteQueue.h"

// The host the files of a batch see while their writes go on in the
// background. Before anything is shown or asked, every earlier write is
// waited for and reported, so the user hears about the files in list order.
// When such a report stopped the batch (a write failed), the question is not
// asked: it is answered Cancel, as the batch ends anyway.
class SettlingHost : public RunHost
{
public:
    SettlingHost(RunHost &host, RunState &state, WriteQueue &writes);

    ContinueAnswer AskContinue(const QString &message,
                               const std::array<QString, 4> &captions) override;
    ReplaceAnswer confirmReplace(const ReplaceConfirmation &match) override;
    bool confirm(const QString &question) override;
    void showMessage(const QString &message) override;
    void ShowStickyMessage(const QString &message) override;
    void setStatus(const QString &text) override { m_host.setStatus(text); }
    void setProgress(const QString &text) override { m_host.setProgress(text); }
    void pump() override { m_host.pump(); }
    bool showFileList(PathTable &files) override;
    void showStatistics(const PathTable &statistics) override;
    // Told at once: an outcome is no question, and waiting for the writes
    // in flight would hold up the run.
    void fileFinished(const FileOutcome &outcome) override { m_host.fileFinished(outcome); }
    void updateCommandStates(bool processing) override { m_host.updateCommandStates(processing); }
    void showPage(JobPage page) override { m_host.showPage(page); }
    void wizardStage(int stage) override { m_host.wizardStage(stage); }
    void hideWizard() override { m_host.hideWizard(); }
    QString title() const override { return m_host.title(); }
    void setTitle(const QString &title) override { m_host.setTitle(title); }
    void setExitCode(int code) override { m_host.setExitCode(code); }
    void logLine(const QString &line) override { m_host.logLine(line); }

private:
    // Reports every write in flight; true when the batch is to stop.
    bool settle();

    RunHost &m_host;
    RunState &m_state;
    WriteQueue &m_writes;
};
