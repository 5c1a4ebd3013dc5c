#include "widgets/AnswerKeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace {

class AnswerKeyFilter : public QObject
{
public:
    explicit AnswerKeyFilter(QDialog *dialog) : QObject(dialog), m_dialog(dialog) {}

protected:
    // Key presses no child took reach the dialog here, before its own
    // handling would press the default button or reject.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_dialog || event->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
            if (auto *button = qobject_cast<QPushButton *>(m_dialog->focusWidget());
                button && button->isEnabled() && button->window() == m_dialog)
                button->click();
            return true;
        case Qt::Key_Escape:
            return true;
        default:
            return false;
        }
    }

private:
    QDialog *m_dialog;
};

} // namespace

void KeepKeysFromAnswering(QDialog *dialog)
{
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    dialog->installEventFilter(new AnswerKeyFilter(dialog));
}
