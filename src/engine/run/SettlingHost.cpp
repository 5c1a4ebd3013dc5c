#include "engine/run/SettlingHost.h"

SettlingHost::SettlingHost(RunHost &host, RunState &state, WriteQueue &writes)
    : m_host(host), m_state(state), m_writes(writes)
{
}

bool SettlingHost::settle()
{
    const bool before = m_state.breakRequested();
    m_writes.reportAll([this] { m_host.pump(); });
    return !before && m_state.breakRequested();
}

ContinueAnswer SettlingHost::AskContinue(const QString &message,
                                         const std::array<QString, 4> &captions)
{
    return settle() ? ContinueAnswer::Cancel : m_host.AskContinue(message, captions);
}

ReplaceAnswer SettlingHost::confirmReplace(const ReplaceConfirmation &match)
{
    return settle() ? ReplaceAnswer::Cancel : m_host.confirmReplace(match);
}

bool SettlingHost::confirm(const QString &question)
{
    return !settle() && m_host.confirm(question);
}

void SettlingHost::showMessage(const QString &message)
{
    settle();
    m_host.showMessage(message);
}

void SettlingHost::ShowStickyMessage(const QString &message)
{
    settle();
    m_host.ShowStickyMessage(message);
}

bool SettlingHost::showFileList(PathTable &files)
{
    settle();
    return m_host.showFileList(files);
}

void SettlingHost::showStatistics(const PathTable &statistics)
{
    settle();
    m_host.showStatistics(statistics);
}
