#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

// Drives modal windows from a test: each queued action runs once the next
// modal window is up (a message box, a dialog, a file dialog), in order. The
// test then calls the code that opens them; nothing is left waiting.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget *)>;

    ModalDriver();
    ~ModalDriver();

    // Runs `action` on the next modal window that opens.
    void then(Action action);

    // Presses the message box button with this role (QMessageBox::Yes, ...)
    // and records the box's text.
    void answer(QMessageBox::StandardButton button);

    // The texts of the message boxes answered so far, in order.
    const QStringList &messages() const { return m_messages; }

    // True when every queued action has run.
    bool done() const { return m_actions.isEmpty(); }

private:
    void poll();

    QList<Action> m_actions;
    QStringList m_messages;
    // The window driven last: it is not given the next action until another
    // window was driven or it was closed.
    QPointer<QWidget> m_lastHandled;
    // Windows whose action is still running: a question the action opened
    // and answered leaves them active again before the action is over, and
    // they must not take the next action meant for the next question.
    QList<QWidget *> m_busy;
    class QTimer *m_timer;
};
