#include "ui/FileList/TFileListFrm.h"

#include "ui/FileList/PathTableGrid.h"
#include "widgets/TSizeGrip.h"

namespace {

constexpr int DateTimeColumnWidth = 100;
constexpr int CodingColumnWidth = 100;

} // namespace

TFileListFrm::TFileListFrm(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    connect(RemoveBtn, &QPushButton::clicked, this, &TFileListFrm::RemoveBtnClick);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(DontShowThisAgainChk, &QCheckBox::clicked, this,
            [this](bool ticked) { emit showFileListChanged(!ticked); });
}

bool TFileListFrm::ShowFileList(PathTable &files)
{
    m_files = &files;
    ShowPathTable(FileListGrd, files, DateTimeColumnWidth, CodingColumnWidth);
    FileListGrd->selectRow(0);
    updateCaption();
    OkBtn->setEnabled(true);
    DontShowThisAgainChk->setChecked(false);
    return exec() == QDialog::Accepted;
}

// The selected row leaves the list; the only row is emptied instead, so the
// grid keeps one (empty) row.
void TFileListFrm::RemoveBtnClick()
{
    const QModelIndex current = FileListGrd->currentIndex();
    if (!m_files || !current.isValid())
        return;
    m_files->DeleteCurrentRow(current.row() + 1);
    FileListGrd->selectRow(FileListGrd->currentIndex().isValid() ? FileListGrd->currentIndex().row()
                                                                 : 0);
    updateCaption();
}

void TFileListFrm::updateCaption()
{
    setWindowTitle(QStringLiteral("Files found: ") + QString::number(m_files->DataRowCount()));
}
