#pragma once

#include "ui_TDirectoryBrowseFrm.h"

#include <QDialog>

class FolderTreeModel;

// Picks one folder from a tree of the file system's folders, with "/" and the
// user's home as its top-level entries. Made for one use and destroyed after it.
class TDirectoryBrowseFrm : public QDialog, public Ui::TDirectoryBrowseFrm
{
    Q_OBJECT
public:
    explicit TDirectoryBrowseFrm(QWidget *parent = nullptr);

    // Selects the first top-level entry, then the folder at `path` (trimmed)
    // when it exists and the tree shows it, and scrolls the selection into view.
    void SetStartFolder(const QString &path);

    // The path of the selected folder; empty when nothing is selected.
    QString SelectedPath() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ShellTreeViewChange();
    void Select(const QModelIndex &index);

    FolderTreeModel *m_folders;
};
