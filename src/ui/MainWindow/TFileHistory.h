#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;

// The recent settings files of the File menu, most recent first. The list is
// read from the user's preferences when it is made and stored by `store`
// when the program ends normally.
class TFileHistory : public QObject
{
public:
    static constexpr int MaxCount = 5;
    static constexpr int MaxCaptionLength = 40;

    explicit TFileHistory(QObject *parent = nullptr);

    const QStringList &paths() const { return m_paths; }

    // Puts a path on top, unless the list holds it already (it then keeps
    // its place); a full list drops its last entry. Paths compare exactly,
    // after trimming: file names are case-sensitive here.
    void Add(const QString &path);

    // The entries go into `menu` at `position`, below a separator of their
    // own; choosing one calls `command` with its menu item.
    void Attach(QMenu *menu, int position, std::function<void(QAction *)> command);
    void Rebuild();

    // The path of an entry's menu item; empty for any other item.
    QString PathOf(const QAction *item) const;

    void setImage(const QIcon &image) { m_image = image; }

    void store() const;

private:
    QStringList m_paths;
    QMenu *m_menu = nullptr;
    int m_position = 0;
    std::function<void(QAction *)> m_command;
    QIcon m_image;
    QList<QAction *> m_inserted;
};
