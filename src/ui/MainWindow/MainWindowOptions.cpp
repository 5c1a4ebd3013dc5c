// The Options page: the job's run options shown in controls, and every
// change the user makes there written back to the job.
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include "engine/text/CodePage.h"
#include "services/ProgramInfo.h"
#include "ui/MainWindow/WindowRunHost.h"

#include <QMessageBox>

namespace {

const char binaryFilesWarning[] =
    "The application can replace strings also in binary files. However, changing the content "
    "of a binary file (*.exe, *.dll, etc) can have unpredictable results.\n\nIt is recommended "
    "not to modify binary files.";
const char noBackUpWarning[] =
    "The find && replace process can be complex under some circumstances and therefore the "
    "result can differ from what expected.\n\nIf the back-up is switched off you won't have "
    "any chance to restore the previous state.";

// Checks the button of `id`, or none for a choice outside the group (a
// settings file may hold one).
void checkChoice(QButtonGroup &group, int id)
{
    group.setExclusive(false);
    for (QAbstractButton *button : group.buttons())
        button->setChecked(group.id(button) == id);
    group.setExclusive(true);
}

} // namespace

void TPKSarvonexFrm::connectOptions()
{
    const QList<QRadioButton *> binary = {BinaryFilesRdo0, BinaryFilesRdo1, BinaryFilesRdo2};
    const QList<QRadioButton *> readOnly = {ReadOnlyFilesRdo0, ReadOnlyFilesRdo1,
                                            ReadOnlyFilesRdo2};
    for (int i = 0; i < 3; ++i) {
        m_binaryFiles.addButton(binary[i], i);
        m_readOnlyFiles.addButton(readOnly[i], i);
    }
    m_backUpMode.addButton(BackUp1Rdo, BackupNone);
    m_backUpMode.addButton(BackUp2Rdo, BackupToSubfolder);
    m_backUpMode.addButton(BackUp3Rdo, BackupRename);

    // Only the user's own clicks and typing count as changes: loading a job
    // sets the controls without marking it modified or warning.
    connect(&m_binaryFiles, &QButtonGroup::idClicked, this, &TPKSarvonexFrm::BinaryFilesRdoClick);
    connect(&m_backUpMode, &QButtonGroup::idClicked, this, &TPKSarvonexFrm::CheckBackUp);
    connect(&m_readOnlyFiles, &QButtonGroup::idClicked, this, &TPKSarvonexFrm::ReadOnlyFilesRdoClick);
    for (QCheckBox *box : {PreserveDateTimeChk, SetArchiveChk, PromptEachReplaceChk,
                           ShowFileListChk, ShowFinalStatsChk, SaveSettingsAutomaticallyChk,
                           PreferEquidistantFontChk})
        connect(box, &QCheckBox::clicked, this, &TPKSarvonexFrm::optionsEdited);
    for (QLineEdit *edit : {BackFolderEdt, BackPrefixEdt, BackSuffixEdt})
        connect(edit, &QLineEdit::textEdited, this, &TPKSarvonexFrm::optionsEdited);
}

void TPKSarvonexFrm::OptionsToControls()
{
    const RunOptions &o = m_job.options();
    checkChoice(m_binaryFiles, o.binaryFiles);
    checkChoice(m_readOnlyFiles, o.readOnlyFiles);
    checkChoice(m_backUpMode, o.backupMode);
    BackFolderEdt->setText(o.backupFolder);
    BackPrefixEdt->setText(o.backupPrefix);
    BackSuffixEdt->setText(o.backupSuffix);
    PreserveDateTimeChk->setChecked(o.preserveDateTime);
    SetArchiveChk->setChecked(o.setArchiveAttribute);
    PromptEachReplaceChk->setChecked(o.promptEachReplace);
    ShowFileListChk->setChecked(o.showFileList);
    ShowFinalStatsChk->setChecked(o.showFinalStats);
    SaveSettingsAutomaticallyChk->setChecked(o.saveSettingsAutomatically);
    PreferEquidistantFontChk->setChecked(o.preferEquidistantFont);
    enableBackUpFields();
}

RunOptions TPKSarvonexFrm::ControlsToOptions() const
{
    RunOptions o;
    o.binaryFiles = m_binaryFiles.checkedId();
    o.readOnlyFiles = m_readOnlyFiles.checkedId();
    o.backupMode = m_backUpMode.checkedId();
    o.backupFolder = BackFolderEdt->text();
    o.backupPrefix = BackPrefixEdt->text();
    o.backupSuffix = BackSuffixEdt->text();
    o.preserveDateTime = PreserveDateTimeChk->isChecked();
    o.setArchiveAttribute = SetArchiveChk->isChecked();
    o.promptEachReplace = PromptEachReplaceChk->isChecked();
    o.showFileList = ShowFileListChk->isChecked();
    o.showFinalStats = ShowFinalStatsChk->isChecked();
    o.saveSettingsAutomatically = SaveSettingsAutomaticallyChk->isChecked();
    o.preferEquidistantFont = PreferEquidistantFontChk->isChecked();
    return o;
}

void TPKSarvonexFrm::optionsEdited()
{
    m_job.setOptions(ControlsToOptions());
    SetModified(true);
}

void TPKSarvonexFrm::BinaryFilesRdoClick()
{
    if (m_binaryFiles.checkedId() == m_job.options().binaryFiles)
        return;
    optionsEdited();
    if (m_binaryFiles.checkedId() == BinaryTreatAsText && !Loading)
        m_host.showMessage(QString::fromLatin1(binaryFilesWarning));
}

// A click on the item already chosen changes nothing.
void TPKSarvonexFrm::ReadOnlyFilesRdoClick()
{
    if (m_readOnlyFiles.checkedId() != m_job.options().readOnlyFiles)
        optionsEdited();
}

void TPKSarvonexFrm::enableBackUpFields()
{
    const bool subfolder = BackUp2Rdo->isChecked();
    const bool rename = BackUp3Rdo->isChecked();
    BackFolderLbl->setEnabled(subfolder);
    BackFolderEdt->setEnabled(subfolder);
    for (QWidget *w : {static_cast<QWidget *>(BackPrefixLbl), static_cast<QWidget *>(BackPrefixEdt),
                       static_cast<QWidget *>(BackSuffixLbl), static_cast<QWidget *>(BackSuffixEdt)})
        w->setEnabled(rename);
}

void TPKSarvonexFrm::CheckBackUp()
{
    if (m_backUpMode.checkedId() == m_job.options().backupMode)
        return;
    enableBackUpFields();
    optionsEdited();
    if (BackUp1Rdo->isChecked() && !Loading)
        m_host.showMessage(QString::fromLatin1(noBackUpWarning));
}
