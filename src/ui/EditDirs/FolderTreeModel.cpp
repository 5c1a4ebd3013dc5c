#include "ui/EditDirs/FolderTreeModel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

struct FolderTreeModel::Node {
    QString path;
    QString name;
    Node *parent = nullptr;
    int row = 0;
    bool listed = false;
    std::optional<bool> hasSubfolders; // known before listing, asked once
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

// Folders only; leaving out QDir::Hidden hides the dot folders.
constexpr QDir::Filters folderFilter = QDir::Dirs | QDir::NoDotAndDotDot;

} // namespace

FolderTreeModel::FolderTreeModel(const QStringList &rootPaths, QObject *parent)
    : QAbstractItemModel(parent)
{
    QStringList seen;
    for (const QString &rootPath : rootPaths) {
        const QFileInfo info(rootPath);
        const QString path = QDir::cleanPath(info.absoluteFilePath());
        if (!info.isDir() || seen.contains(path))
            continue;
        seen.append(path);
        auto node = std::make_unique<Node>();
        node->path = path;
        node->name = path;
        node->row = int(m_roots.size());
        m_roots.push_back(std::move(node));
    }
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::indexOf(const Node *node) const
{
    return node ? createIndex(node->row, 0, const_cast<Node *>(node)) : QModelIndex();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const Node *parentNode = nodeOf(parent);
    const auto &siblings = parentNode ? parentNode->children : m_roots;
    return row < int(siblings.size()) ? indexOf(siblings[row].get()) : QModelIndex();
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const Node *node = nodeOf(child);
    return node ? indexOf(node->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const Node *node = nodeOf(parent);
    return int(node ? node->children.size() : m_roots.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const Node *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return node->name;
    case Qt::ToolTipRole:
        return node->path;
    case Qt::DecorationRole:
        return node->path == QDir::rootPath() ? m_icons.icon(QFileIconProvider::Drive)
                                              : m_icons.icon(QFileInfo(node->path));
    default:
        return {};
    }
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    Node *node = nodeOf(parent);
    if (!node)
        return !m_roots.empty();
    if (node->listed)
        return !node->children.empty();
    if (!node->hasSubfolders)
        node->hasSubfolders = QDirIterator(node->path, folderFilter).hasNext();
    return *node->hasSubfolders;
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    return node && !node->listed;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    if (Node *node = nodeOf(parent))
        list(node);
}

void FolderTreeModel::list(Node *node)
{
    if (node->listed)
        return;
    node->listed = true;
    const QStringList names =
        QDir(node->path).entryList(folderFilter, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    if (names.isEmpty())
        return;
    beginInsertRows(indexOf(node), 0, int(names.size()) - 1);
    for (const QString &name : names) {
        auto child = std::make_unique<Node>();
        child->path = QDir(node->path).filePath(name);
        child->name = name;
        child->parent = node;
        child->row = int(node->children.size());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

QString FolderTreeModel::filePath(const QModelIndex &index) const
{
    const Node *node = nodeOf(index);
    return node ? node->path : QString();
}

QModelIndex FolderTreeModel::indexOf(const QString &path)
{
    const QString target = QDir::cleanPath(path);
    for (const auto &root : m_roots) {
        const QString prefix = root->path.endsWith('/') ? root->path : root->path + '/';
        if (target != root->path && !target.startsWith(prefix))
            continue;
        Node *node = root.get();
        const QStringList names = target.mid(prefix.size()).split('/', Qt::SkipEmptyParts);
        for (const QString &name : names) {
            list(node);
            const auto found = std::find_if(node->children.begin(), node->children.end(),
                                            [&](const auto &child) { return child->name == name; });
            if (found == node->children.end())
                return {};
            node = found->get();
        }
        return indexOf(node);
    }
    return {};
}
