#include "app/ConsoleHost.h"

#include "app/BreakSignals.h"
#include "services/Preferences.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void printError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace

ConsoleHost::ConsoleHost(std::function<bool(const QString &)> suppressed)
    : m_suppressed(std::move(suppressed)), m_title(QCoreApplication::applicationName())
{
}

bool ConsoleHost::MarkedInPreferences(const QString &message)
{
    return HasMessageMark(message, QString::fromLatin1(MainWindowName));
}

ContinueAnswer ConsoleHost::AskContinue(const QString &message,
                                        const std::array<QString, 4> &captions)
{
    printError(message);
    printError("-> " + captions[2]);
    return ContinueAnswer::No;
}

ReplaceAnswer ConsoleHost::confirmReplace(const ReplaceConfirmation &)
{
    // An unattended run replaces every match without asking.
    return ReplaceAnswer::Yes;
}

bool ConsoleHost::confirm(const QString &question)
{
    // Only Break Process asks, and a console run breaks through a signal,
    // which is already the user's answer.
    printError(question);
    printError("-> Yes");
    return true;
}

void ConsoleHost::showMessage(const QString &message)
{
    printError(message);
}

void ConsoleHost::ShowStickyMessage(const QString &message)
{
    if (!m_suppressed || !m_suppressed(message))
        printError(message);
}

void ConsoleHost::setProgress(const QString &progress)
{
    if (!progress.isEmpty())
        m_progress = progress;
}

void ConsoleHost::updateCommandStates(bool processing)
{
    BreakSignals::setProcessing(processing);
}

void ConsoleHost::logLine(const QString &line)
{
    printError(line);
}

void ConsoleHost::pump()
{
    m_pump();
    BreakSignals::reassert();
}
