#include "ui/Continue/TContinueFrm.h"

#include "widgets/AnswerKeys.h"

namespace {

// exec() returns 1 + the answer's index; closing the window returns 0.
constexpr ContinueAnswer Answers[] = {ContinueAnswer::Yes, ContinueAnswer::All,
                                      ContinueAnswer::No, ContinueAnswer::Cancel};

} // namespace

TContinueFrm::TContinueFrm(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    const std::array<QPushButton *, 4> buttons = answerButtons();
    for (int i = 0; i < int(buttons.size()); ++i)
        connect(buttons[i], &QPushButton::clicked, this, [this, i] { done(i + 1); });
    // The question has no cancel button: Escape does not answer "Cancel All".
    KeepKeysFromAnswering(this);
}

ContinueAnswer TContinueFrm::AskContinue(QWidget *parent, const QString &message,
                                         const std::array<QString, 4> &captions)
{
    TContinueFrm question(parent);
    question.StaticText1->setText(message);
    const std::array<QPushButton *, 4> buttons = question.answerButtons();
    for (int i = 0; i < int(buttons.size()); ++i) {
        buttons[i]->setText(captions[i]);
        buttons[i]->setHidden(captions[i].isEmpty());
    }
    question.Button1Btn->setFocus();
    const int result = question.exec();
    return result >= 1 && result <= int(std::size(Answers)) ? Answers[result - 1]
                                                            : ContinueAnswer::Cancel;
}

std::array<QPushButton *, 4> TContinueFrm::answerButtons() const
{
    return {Button1Btn, Button2Btn, Button3Btn, Button4Btn};
}
