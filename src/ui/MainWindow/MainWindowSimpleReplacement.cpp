// The simple replacement: one string in one chosen file, as a new job that
// stays in the window afterwards.
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include "engine/run/FileCollector.h"
#include "engine/text/CodePage.h"
#include "services/ProgramInfo.h"
#include "services/ShellFolders.h"
#include "ui/EntryText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const QStringList fileFilters = {
    QStringLiteral("Text files (*.txt)"),
    QStringLiteral("Web files (*.htm *.html *.asp)"),
    QStringLiteral("Xml files (*.xml)"),
    QStringLiteral("C++ source (*.cpp *.h)"),
    QStringLiteral("Delphi source (*.dpr *.pas)"),
    QStringLiteral("Scripts (*.vbs *.js)"),
    QStringLiteral("CSV files (*.csv)"),
    QStringLiteral("All files (*)"),
};

} // namespace

void TPKSarvonexFrm::ReplaceinOneFile1Click()
{
    if (!QuerySaveChanges())
        return;
    hideWizard();
    ClearJob();
    PageControl1->setCurrentIndex(int(JobPage::Folders));

    QFileDialog dialog(this, QStringLiteral("Select the file to make replacements in..."),
                       DesktopFolder());
    dialog.setNameFilters(fileFilters);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;

    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    const QString folder = chosen.absolutePath();
    const QString name = chosen.fileName();
    // The mask reads "*" and "?" as wildcards: such a name would make the job
    // name other files.
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        m_host.showMessage("The file \"" + chosen.absoluteFilePath()
                           + "\" cannot be named in a job: its folder or name holds characters "
                             "that a job cannot keep. Rename it, or choose another file.");
        return;
    }

    m_job.folders().AppendRow({folder, QStringLiteral("None"), QString()});
    PageControl1->setCurrentIndex(int(JobPage::Files));
    m_job.fileTypes().AppendRow({name, QString(), QString()});
    PageControl1->setCurrentIndex(int(JobPage::Strings));
    AddStringsBtnClick();
    if (m_job.stringPairs().isEmpty())
        return;
    if (!m_host.confirm(QStringLiteral("Start with the replacing now?")))
        return;
    if (CollectFiles(false, *m_files, m_run))
        m_batch.ProcessFileList();
}
