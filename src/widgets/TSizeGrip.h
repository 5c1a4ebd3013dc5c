#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QPainter;

enum TSizeGripStyle { sgsClassic = 0, sgsWinXP = 1 };

// The ribbed triangle in a resizable window's bottom-right corner. The grip
// is a component owned by a window; it attaches to its target window, draws
// the grip over the target's contents (through a small transparent child
// kept in the corner and on top of the target's other children) and starts a
// bottom-right resize when the mouse is pressed on it. A dialog carries one
// with `new TSizeGrip(this);` in its constructor, after setupUi().
class TSizeGrip : public QObject
{
    Q_OBJECT
public:
    // Enabled, style sgsClassic. The target is the owner when it is a widget,
    // else the owner's nearest widget ancestor.
    explicit TSizeGrip(QObject *owner);
    ~TSizeGrip() override;

    QWidget *TargetControl() const { return m_target; }
    void SetTargetControl(QWidget *target);

    // A disabled grip is detached: it neither draws nor resizes.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    TSizeGripStyle Style() const { return m_style; }
    void SetStyle(TSizeGripStyle style);

    // The 15 x 15 square in the bottom-right corner of the target, in the
    // target's coordinates; empty without a target.
    virtual QRect GripRect() const;

    // True while the grip draws on its target and resizes it.
    bool isAttached() const;

protected:
    // Draws the grip inside `rect` (its right and bottom edges are the
    // exclusive edges rect.x() + width and rect.y() + height).
    virtual void PaintGrip(QPainter &painter, const QRect &rect);

    // Keeps the grip in the target's corner and above the target's children.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class GripWidget;

    void attach();
    void detach();
    void TargetDestroyed();

    QPointer<QWidget> m_target;
    QPointer<GripWidget> m_grip;
    bool m_enabled = true;
    TSizeGripStyle m_style = sgsClassic;
};
