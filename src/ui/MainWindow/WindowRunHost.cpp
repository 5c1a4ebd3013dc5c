#include "ui/MainWindow/WindowRunHost.h"

#include "services/ProgramInfo.h"
#include "ui/Continue/TContinueFrm.h"
#include "ui/FileList/TFileListFrm.h"
#include "ui/MainWindow/TPKSarvonexFrm.h"
#include "ui/ReplaceConfirm/TReplaceConfirmFrm.h"
#include "ui/Statistics/TStatisticsFrm.h"
#include "ui/Wizard/TWizardFrm.h"
#include "widgets/MessageText.h"
#include "widgets/TStickyForm.h"

#include <QMessageBox>

QWidget *WindowRunHost::dialogParent() const
{
    return m_window.runState().unattended ? nullptr : &m_window;
}

ContinueAnswer WindowRunHost::AskContinue(const QString &message,
                                          const std::array<QString, 4> &captions)
{
    return TContinueFrm::AskContinue(dialogParent(), message, captions);
}

ReplaceAnswer WindowRunHost::confirmReplace(const ReplaceConfirmation &match)
{
    return m_window.replaceConfirmFrm().Confirm(match);
}

bool WindowRunHost::confirm(const QString &question)
{
    return QMessageBox::question(dialogParent(), QString::fromLatin1(ApplicationTitle),
                                 MessageBoxText(question), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void WindowRunHost::showMessage(const QString &message)
{
    QMessageBox::information(dialogParent(), QString::fromLatin1(ApplicationTitle),
                             MessageBoxText(message));
}

void WindowRunHost::ShowStickyMessage(const QString &message)
{
    ::ShowStickyMessage(message, &m_window);
}

void WindowRunHost::setStatus(const QString &text)
{
    m_window.StatusPanel->setText(text);
}

void WindowRunHost::setProgress(const QString &text)
{
    m_window.ProgressPanel->setText(text);
}

void WindowRunHost::pump()
{
    m_pump();
}

bool WindowRunHost::showFileList(PathTable &files)
{
    return m_window.fileListFrm().ShowFileList(files);
}

void WindowRunHost::showStatistics(const PathTable &statistics)
{
    if (m_window.m_closeWhenRunEnds)
        return;
    // The dialog views the table it is given; it does not change it.
    m_window.statisticsFrm().ShowStatistics(const_cast<PathTable &>(statistics));
}

void WindowRunHost::updateCommandStates(bool)
{
    m_window.UpdateCommandStates();
}

void WindowRunHost::showPage(JobPage page)
{
    m_window.PageControl1->setCurrentIndex(int(page));
}

void WindowRunHost::wizardStage(int stage)
{
    m_window.wizardFrm().SetStage(stage);
}

void WindowRunHost::hideWizard()
{
    m_window.hideWizard();
}

QString WindowRunHost::title() const
{
    return m_window.m_title;
}

void WindowRunHost::setTitle(const QString &title)
{
    m_window.m_title = title;
    m_window.UpdateCommandStates();
}

void WindowRunHost::setExitCode(int code)
{
    m_window.setExitCode(code);
}
