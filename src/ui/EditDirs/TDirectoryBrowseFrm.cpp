#include "ui/EditDirs/TDirectoryBrowseFrm.h"

#include "ui/EditDirs/FolderTreeModel.h"
#include "ui/EntryText.h"
#include "widgets/TSizeGrip.h"

#include <QDir>
#include <QFileInfo>
#include <QScreen>

TDirectoryBrowseFrm::TDirectoryBrowseFrm(QWidget *parent)
    : QDialog(parent), m_folders(new FolderTreeModel({QDir::rootPath(), QDir::homePath()}, this))
{
    setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    new TSizeGrip(this); // owned by the dialog, drawn over its corner
    ShellTreeView->setModel(m_folders);
    connect(ShellTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TDirectoryBrowseFrm::ShellTreeViewChange);
    // Centred on the screen rather than over the dialog that opened it.
    if (const QScreen *screen = parent ? parent->screen() : this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TDirectoryBrowseFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ShellTreeView->setFocus();
    ShellTreeViewChange();
}

void TDirectoryBrowseFrm::SetStartFolder(const QString &path)
{
    Select(m_folders->index(0, 0));
    const QFileInfo folder(TrimmedEntryText(path));
    if (folder.isDir()) {
        const QModelIndex found = m_folders->indexOf(folder.absoluteFilePath());
        if (found.isValid())
            Select(found);
    }
    ShellTreeView->scrollTo(ShellTreeView->currentIndex());
}

void TDirectoryBrowseFrm::Select(const QModelIndex &index)
{
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
        ShellTreeView->expand(above);
    ShellTreeView->setCurrentIndex(index);
}

QString TDirectoryBrowseFrm::SelectedPath() const
{
    const QModelIndexList selected = ShellTreeView->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : m_folders->filePath(selected.first());
}

// Only an existing folder can be picked: a folder removed since its parent
// was listed leaves "Ok" disabled.
void TDirectoryBrowseFrm::ShellTreeViewChange()
{
    const QString path = SelectedPath();
    OkBtn->setEnabled(QDir::isAbsolutePath(path) && QFileInfo(path).isDir());
}
