#include "ui/support/ModalDriver.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

ModalDriver::ModalDriver() : m_timer(new QTimer)
{
    m_timer->setInterval(5);
    QObject::connect(m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer->start();
}

ModalDriver::~ModalDriver()
{
    delete m_timer;
}

void ModalDriver::then(Action action)
{
    m_actions.append(std::move(action));
}

void ModalDriver::answer(QMessageBox::StandardButton button)
{
    then([this, button](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box) {
            ADD_FAILURE() << "expected a message box, got " << window->metaObject()->className();
            window->close();
            return;
        }
        m_messages.append(box->text());
        QAbstractButton *pressed = box->button(button);
        if (pressed)
            pressed->click();
        else
            box->close();
    });
}

void ModalDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || m_actions.isEmpty() || !modal->isVisible() || modal == m_lastHandled
        || m_busy.contains(modal))
        return;
    m_lastHandled = modal;
    // The action runs from the event loop, not from this timer, so that a
    // window it opens in turn is driven by the next queued action.
    QTimer::singleShot(0, modal, [this, modal, action = m_actions.takeFirst()] {
        const QPointer<QWidget> handled(modal);
        m_busy.append(modal);
        action(modal);
        m_busy.removeOne(modal);
        // A reused dialog that the action closed is driven again at its next
        // showing.
        if (!handled || !handled->isVisible())
            m_lastHandled = nullptr;
    });
}
