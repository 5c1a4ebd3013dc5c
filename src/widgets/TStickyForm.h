#pragma once

#include "ui_TStickyForm.h"

#include <QDialog>

// The information message with the check box "Don't show this message
// again". Made for one message and destroyed after it.
class TStickyForm : public QDialog, public Ui::TStickyForm
{
    Q_OBJECT

public:
    explicit TStickyForm(const QString &message, QWidget *parent = nullptr);

private:
    void fitToMessage(const QString &message);
};

// Shows the message modally with `owner` as its owner window, unless the
// user asked before not to see it again from that owner; ticking the check
// box records that wish when the window closes.
void ShowStickyMessage(const QString &message, QWidget *owner);
