#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

// Draws the options column of the Strings grid: a regular-expression pair
// gets a ".*" mark before its options text and says so in a tool tip, so that
// it is not taken for a plain pair at a glance.
class StringOptionsDelegate : public QStyledItemDelegate
{
public:
    explicit StringOptionsDelegate(QObject *parent = nullptr);

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QIcon m_mark;
};
