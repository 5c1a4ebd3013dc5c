#include "ui/MainWindow/TFileHistory.h"

#include "services/Preferences.h"
#include "services/ShortenPath.h"
#include "ui/EntryText.h"

#include <QAction>
#include <QMenu>

namespace {

const char listName[] = "FileHistoryList";
// The item property that holds an entry's full path.
const char pathProperty[] = "historyPath";

} // namespace

TFileHistory::TFileHistory(QObject *parent)
    : QObject(parent), m_paths(LoadListFromPreferences(QLatin1String(listName)))
{
    if (m_paths.size() > MaxCount)
        m_paths.resize(MaxCount);
}

void TFileHistory::Add(const QString &path)
{
    const QString key = TrimmedEntryText(path);
    for (const QString &entry : std::as_const(m_paths)) {
        if (TrimmedEntryText(entry) == key)
            return;
    }
    if (m_paths.size() >= MaxCount)
        m_paths.removeLast();
    m_paths.prepend(path);
    Rebuild();
}

void TFileHistory::Attach(QMenu *menu, int position, std::function<void(QAction *)> command)
{
    m_menu = menu;
    m_position = position;
    m_command = std::move(command);
    Rebuild();
}

void TFileHistory::Rebuild()
{
    if (!m_menu)
        return;
    qDeleteAll(m_inserted);
    m_inserted.clear();
    if (m_paths.isEmpty())
        return;

    QAction *before = m_menu->actions().value(m_position);
    QAction *separator = new QAction(m_menu);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("HistItem0"));
    m_menu->insertAction(before, separator);
    m_inserted.append(separator);
    for (int i = 0; i < m_paths.size(); ++i) {
        QString caption = ShortenPath(m_paths[i], MaxCaptionLength);
        auto *item = new QAction(caption.replace(QLatin1Char('&'), QLatin1String("&&")), m_menu);
        item->setObjectName(QStringLiteral("HistItem") + QString::number(i + 1));
        item->setIcon(m_image);
        item->setProperty(pathProperty, m_paths[i]);
        connect(item, &QAction::triggered, this, [this, item] {
            if (m_command)
                m_command(item);
        });
        m_menu->insertAction(before, item);
        m_inserted.append(item);
    }
}

QString TFileHistory::PathOf(const QAction *item) const
{
    // The item carries its path: two entries whose shortened captions are
    // alike still open their own files.
    return item && m_inserted.contains(item) ? item->property(pathProperty).toString() : QString();
}

void TFileHistory::store() const
{
    SaveListToPreferences(QLatin1String(listName), m_paths);
}
