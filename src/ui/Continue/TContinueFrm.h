#pragma once

#include "engine/run/RunHost.h"
#include "ui_TContinueFrm.h"

#include <QDialog>
#include <QString>
#include <array>

// The four-button question about one file: a message above the answers Yes,
// All, No and Cancel. Made for each question and destroyed after it.
class TContinueFrm : public QDialog, public Ui::TContinueFrm
{
public:
    explicit TContinueFrm(QWidget *parent = nullptr);

    // Asks `message` with the captions of Button1Btn .. Button4Btn; a button
    // whose caption is empty is hidden. Closing the question answers Cancel.
    static ContinueAnswer AskContinue(QWidget *parent, const QString &message,
                                      const std::array<QString, 4> &captions);

private:
    std::array<QPushButton *, 4> answerButtons() const;
};
