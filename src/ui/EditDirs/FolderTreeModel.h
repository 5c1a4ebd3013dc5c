#pragma once

#include <QAbstractItemModel>
#include <QFileIconProvider>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// A tree of folders only (no files, no hidden folders) under a few top-level
// folders, such as "/" and the user's home. A folder is listed when the view
// first opens it and not watched afterwards: the tree shows the file system
// as it was when each folder was opened, as a folder browser should, with no
// background thread.
class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // Roots that are not existing folders, or repeat an earlier one, are left out.
    explicit FolderTreeModel(const QStringList &rootPaths, QObject *parent = nullptr);
    ~FolderTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // The absolute path of the folder at `index`; empty for an invalid index.
    QString filePath(const QModelIndex &index) const;

    // The node of the absolute folder `path` under the first root that holds
    // it, listing the folders on the way; invalid when no root holds it or a
    // folder on the way is not in the tree (hidden, or gone).
    QModelIndex indexOf(const QString &path);

private:
    struct Node;

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const Node *node) const;
    void list(Node *node);

    std::vector<std::unique_ptr<Node>> m_roots;
    QFileIconProvider m_icons;
};
