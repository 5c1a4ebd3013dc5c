#pragma once

#include "app/ConsoleHost.h"

#include <QElapsedTimer>

class JsonLinesReport;

// The host of `sarvonex replace`: a console run's host that hands each file's
// outcome to the JSON report, when there is one, and shows a progress line
// ("12/345 files") on standard error once the run has taken a second. The
// line is cleared before any message and when the run ends.
class ReplaceHost : public ConsoleHost
{
public:
    // `progressLine`: standard error is a terminal that nothing else reads.
    ReplaceHost(JsonLinesReport *report, bool progressLine);

    void fileFinished(const FileOutcome &outcome) override;
    void setProgress(const QString &text) override;
    ContinueAnswer AskContinue(const QString &message,
                               const std::array<QString, 4> &captions) override;
    bool confirm(const QString &question) override;
    void showMessage(const QString &message) override;
    void ShowStickyMessage(const QString &message) override;

private:
    void clearProgress();

    JsonLinesReport *m_report;
    bool m_progressLine;
    bool m_progressShown = false;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceShown;
};
