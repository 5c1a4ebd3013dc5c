#include "widgets/TSizeGrip.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

constexpr int GripSize = 15;

} // namespace

// The grip's face on the target: transparent apart from what PaintGrip draws,
// and the place where the mouse starts a resize of the target.
class TSizeGrip::GripWidget : public QWidget
{
public:
    GripWidget(TSizeGrip *grip, QWidget *target) : QWidget(target), m_grip(grip)
    {
        setCursor(Qt::SizeFDiagCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_grip->PaintGrip(painter, rect());
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return QWidget::mousePressEvent(event);
        QWidget *target = parentWidget();
        // The window manager resizes best (it knows the screen edges and
        // snapping); a platform that refuses gets a resize by mouse moves.
        if (target->isWindow() && target->windowHandle()
            && target->windowHandle()->startSystemResize(Qt::RightEdge | Qt::BottomEdge))
            return;
        m_resizing = true;
        m_pressPosition = event->globalPosition().toPoint();
        m_startSize = target->size();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!m_resizing)
            return QWidget::mouseMoveEvent(event);
        const QPoint shift = event->globalPosition().toPoint() - m_pressPosition;
        parentWidget()->resize(m_startSize + QSize(shift.x(), shift.y()));
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_resizing = false;
        QWidget::mouseReleaseEvent(event);
    }

private:
    TSizeGrip *m_grip;
    bool m_resizing = false;
    QPoint m_pressPosition;
    QSize m_startSize;
};

TSizeGrip::TSizeGrip(QObject *owner) : QObject(owner)
{
    QObject *target = owner;
    while (target && !target->isWidgetType())
        target = target->parent();
    SetTargetControl(static_cast<QWidget *>(target));
}

TSizeGrip::~TSizeGrip()
{
    SetTargetControl(nullptr);
}

void TSizeGrip::SetTargetControl(QWidget *target)
{
    if (target == m_target)
        return;
    if (m_target)
        disconnect(m_target, &QObject::destroyed, this, &TSizeGrip::TargetDestroyed);
    detach();
    m_target = target;
    attach();
    if (m_target)
        connect(m_target, &QObject::destroyed, this, &TSizeGrip::TargetDestroyed);
}

void TSizeGrip::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    detach();
    m_enabled = enabled;
    attach();
}

void TSizeGrip::SetStyle(TSizeGripStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    if (m_grip)
        m_grip->update();
}

QRect TSizeGrip::GripRect() const
{
    if (!m_target)
        return {};
    return {m_target->width() - GripSize, m_target->height() - GripSize, GripSize, GripSize};
}

bool TSizeGrip::isAttached() const
{
    return m_grip != nullptr;
}

void TSizeGrip::attach()
{
    if (m_grip || !m_target || !m_enabled)
        return;
    m_grip = new GripWidget(this, m_target);
    m_grip->setGeometry(GripRect());
    m_grip->raise();
    m_grip->show();
    m_target->installEventFilter(this);
}

void TSizeGrip::detach()
{
    if (!m_grip)
        return;
    m_target->removeEventFilter(this);
    delete m_grip; // the target repaints the corner it uncovers
}

// The target is going away and takes the grip's face with it; nothing of it
// may be touched any more.
void TSizeGrip::TargetDestroyed()
{
    m_grip = nullptr;
    m_target = nullptr;
}

bool TSizeGrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_target || !m_grip)
        return false;
    if (event->type() == QEvent::Resize) {
        m_grip->setGeometry(GripRect());
    } else if (event->type() == QEvent::ChildAdded) {
        // Children stack in the order they were added; a later one would
        // cover the grip.
        if (static_cast<QChildEvent *>(event)->child() != m_grip)
            m_grip->raise();
    }
    return false;
}

void TSizeGrip::PaintGrip(QPainter &painter, const QRect &rect)
{
    const QPalette &palette = m_target->palette();
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor highlight = palette.color(QPalette::Light);
    const QColor background = palette.color(m_target->backgroundRole());
    const QColor middle((background.red() + shadow.red()) / 2, (background.green() + shadow.green()) / 2,
                        (background.blue() + shadow.blue()) / 2);
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    const auto pixel = [&painter](int x, int y, const QColor &colour) {
        painter.fillRect(QRect(x, y, 1, 1), colour);
    };

    if (m_style == sgsClassic) {
        // Three grooves, each a shadow, a middle and a highlight diagonal
        // side by side, running up to the right edge.
        const QColor colours[] = {shadow, middle, highlight};
        for (int set = 0; set < 3; ++set) {
            for (int groove = 0; groove < 3; ++groove) {
                const int length = 2 + set + 4 * groove;
                for (int i = 0; i < length; ++i)
                    pixel(right - length + i, bottom - 1 - i, colours[set]);
            }
        }
        return;
    }
    // Six raised dots in a triangle with its right angle in the corner.
    const QPoint dots[] = {{right - 4, bottom - 12}, {right - 8, bottom - 8}, {right - 4, bottom - 8},
                           {right - 12, bottom - 4}, {right - 8, bottom - 4}, {right - 4, bottom - 4}};
    for (const QPoint &dot : dots) {
        const int x = dot.x();
        const int y = dot.y();
        pixel(x, y, shadow);
        pixel(x + 1, y, shadow);
        pixel(x, y + 1, shadow);
        pixel(x + 1, y + 1, middle);
        pixel(x + 2, y + 1, highlight);
        pixel(x + 1, y + 2, highlight);
        pixel(x + 2, y + 2, highlight);
    }
}
