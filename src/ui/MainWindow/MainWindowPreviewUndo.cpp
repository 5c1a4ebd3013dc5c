// The preview of a run and the undo of the last run.
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include "engine/journal/RunJournal.h"
#include "engine/journal/RunUndo.h"
#include "ui/Preview/TPreviewFrm.h"

#include <QScopeGuard>

void TPKSarvonexFrm::PreviewMnuClick()
{
    PreviewFrm->clear();
    m_runState.preview = PreviewFrm;
    {
        const auto forget = qScopeGuard([this] { m_runState.preview = nullptr; });
        m_batch.FindAndReplaceMnuClick();
    }
    if (!m_runState.breakRequested() && PreviewFrm->ShowPreview())
        FindAndReplaceMnuClick();
}

void TPKSarvonexFrm::UndoLastRunMnuClick()
{
    bool noBackups = false;
    const std::optional<JournalRecord> journal =
        LastUndoableRun(RunJournal::defaultFolder(), nullptr, &noBackups);
    if (!journal) {
        m_host.showMessage(noBackups ? QString::fromLatin1(NoBackupsToUndo)
                                     : QStringLiteral("Nothing to undo."));
        return;
    }
    if (!m_host.confirm(QStringLiteral("Restore %1 file(s) of the last run from their back-up "
                                       "copies?")
                            .arg(journal->entries.size())))
        return;

    int restored = 0;
    QString left;
    for (const RestoreResult &result : UndoRun(*journal)) {
        if (result.restored)
            ++restored;
        else
            left += QStringLiteral("\n%1 (%2)").arg(result.path, result.reason);
    }
    QString report = QStringLiteral("%1 file(s) restored.").arg(restored);
    if (!left.isEmpty())
        report += QStringLiteral("\n\nLeft as they are:") + left;
    m_host.showMessage(report);
    readLastRun();
    UpdateCommandStates();
}
