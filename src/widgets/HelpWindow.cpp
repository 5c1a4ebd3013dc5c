#include "widgets/HelpWindow.h"

#include "widgets/HelpBrowser.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *navigationButton(QWidget *parent, const QString &text, QStyle::StandardPixmap icon)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setEnabled(false);
    return button;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_browser(new HelpBrowser(this)),
      m_back(navigationButton(this, QStringLiteral("&Back"), QStyle::SP_ArrowBack)),
      m_forward(navigationButton(this, QStringLiteral("&Forward"), QStyle::SP_ArrowForward))
{
    setWindowTitle(QStringLiteral("Sarvonex Help"));
    m_back->setObjectName(QStringLiteral("BackBtn"));
    m_forward->setObjectName(QStringLiteral("ForwardBtn"));
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);

    auto *navigation = new QHBoxLayout;
    navigation->addWidget(m_back);
    navigation->addWidget(m_forward);
    navigation->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(navigation);
    layout->addWidget(m_browser);
    resize(560, 480);
    setFocusProxy(m_browser);
}

bool HelpWindow::showTopic(const QString &helpPath, const QString &topic)
{
    return m_browser->showTopic(helpPath, topic);
}

void HelpWindow::showEvent(QShowEvent *event)
{
    if (!m_placed && parentWidget()) {
        m_placed = true;
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - rect().center());
    }
    QWidget::showEvent(event);
}

// The browser leaves Escape to its window.
void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
