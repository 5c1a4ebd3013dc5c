#include "ui/MainWindow/StringOptionsDelegate.h"

#include "settings/PairOptions.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

namespace {

bool isRegularExpressionPair(const QModelIndex &index)
{
    return HasRegularExpressionLetter(index.data().toByteArray());
}

QIcon regularExpressionMark()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2a, 0x6f, 0xb0));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 4, 30, 24), 5, 5);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(1, 2, 30, 24), Qt::AlignCenter, QStringLiteral(".*"));
    return QIcon(pixmap);
}

} // namespace

StringOptionsDelegate::StringOptionsDelegate(QObject *parent)
    : QStyledItemDelegate(parent), m_mark(regularExpressionMark())
{
}

void StringOptionsDelegate::initStyleOption(QStyleOptionViewItem *option,
                                            const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!isRegularExpressionPair(index))
        return;
    option->icon = m_mark;
    option->features |= QStyleOptionViewItem::HasDecoration;
}

bool StringOptionsDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                      const QStyleOptionViewItem &option,
                                      const QModelIndex &index)
{
    if (event->type() == QEvent::ToolTip && isRegularExpressionPair(index)) {
        QToolTip::showText(event->globalPos(), QStringLiteral("Regular expression"), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
