#include "app/replace/ReplaceHost.h"

#include "app/replace/JsonLinesReport.h"

#include <cstdio>

namespace {
constexpr qint64 QuietMilliseconds = 1000;
constexpr qint64 RedrawMilliseconds = 100;
} // namespace

ReplaceHost::ReplaceHost(JsonLinesReport *report, bool progressLine)
    : m_report(report), m_progressLine(progressLine)
{
    m_sinceStart.start();
}

void ReplaceHost::fileFinished(const FileOutcome &outcome)
{
    if (m_report)
        m_report->file(outcome);
}

void ReplaceHost::setProgress(const QString &text)
{
    ConsoleHost::setProgress(text);
    if (!m_progressLine)
        return;
    if (text.isEmpty()) {
        clearProgress();
        return;
    }
    if (m_sinceStart.elapsed() < QuietMilliseconds
        || (m_progressShown && m_sinceShown.elapsed() < RedrawMilliseconds))
        return;
    std::fprintf(stderr, "\r%s files\x1b[K", qPrintable(text));
    std::fflush(stderr);
    m_progressShown = true;
    m_sinceShown.start();
}

void ReplaceHost::clearProgress()
{
    if (!m_progressShown)
        return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    m_progressShown = false;
}

ContinueAnswer ReplaceHost::AskContinue(const QString &message,
                                        const std::array<QString, 4> &captions)
{
    clearProgress();
    return ConsoleHost::AskContinue(message, captions);
}

bool ReplaceHost::confirm(const QString &question)
{
    clearProgress();
    return ConsoleHost::confirm(question);
}

void ReplaceHost::showMessage(const QString &message)
{
    clearProgress();
    ConsoleHost::showMessage(message);
}

void ReplaceHost::ShowStickyMessage(const QString &message)
{
    clearProgress();
    ConsoleHost::ShowStickyMessage(message);
}
