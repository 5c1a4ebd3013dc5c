#pragma once

#include "engine/run/RunHost.h"
#include "settings/DisplayCharsets.h"
#include "ui_TReplaceConfirmFrm.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

class QTextEdit;
class QTimer;

// Asks whether to replace one match: the file, the found text highlighted in
// its surrounding lines, the same lines with the replacement highlighted in
// its place, and six answers. Created once and reused: the wrap mode, the
// find-what visibility, the size and the position stay from one match to the
// next; the texts are replaced at every match.
//
// exec() returns the answer's number: Yes 6, Yes to All (this file) 4,
// Yes to All (all files) 10, No 7, No to All (this file) 9, Cancel 2 (also
// when the window is closed).
class TReplaceConfirmFrm : public QDialog, public Ui::TReplaceConfirmFrm
{
    Q_OBJECT
public:
    // `parent` is the main window: the first showing is placed relative to it.
    explicit TReplaceConfirmFrm(QWidget *parent = nullptr);

    // Shown by the coding link (`RedInfoLbl`).
    QString InfoText = QStringLiteral("No additional information available.");
    // Restores the highlights while the dialog is shown.
    QTimer *UpdateSelectionTmr;

    // The charset the three memos decode their bytes through: the table entry
    // named exactly `name`, else "Default".
    void SetDisplayCharset(const QByteArray &name);
    // The fixed-pitch font for the found and replacement memos; takes effect
    // at the next filling.
    void SetEquidistantFont(bool equidistant);
    // The texts of one match: before, found and after are display-safe ANSI
    // bytes; the replacement and the find text are plain.
    void SetOccurrence(const QString &before, const QString &found, const QString &after,
                       const QString &replacement, const QString &findText);
    void SetFileName(const QString &path);

    // Sets everything from the match, shows the dialog modally and returns
    // the answer.
    ReplaceAnswer Confirm(const ReplaceConfirmation &match);

    void setVisible(bool visible) override;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A memo whose middle part stays highlighted.
    struct HighlightedMemo {
        QTextEdit *edit;
        int start = 0;
        int length = 0;
        bool mouseHeld = false; // the user may be selecting text to copy
    };

    void ShowFindWhatLblClick();
    void RedInfoLblClick();
    void CharsetLblClick();
    void ShowWrappedLblClick();
    void UpdateSelectionTmrTimer();

    static QString displayed(const QString &text);
    void fillMemos();
    void fill(HighlightedMemo &memo, const QString &before, const QString &middle,
              const QString &after);
    void applyWrapMode();
    void centreOccurrence();
    void shortenFileName();

    const DisplayCharset *m_charset;
    QString m_before;
    QString m_found;
    QString m_after;
    QString m_replacement;
    QString m_findText;
    QString m_fileName;
    bool m_equidistant = false;
    bool m_showFindWhat = false;
    bool m_wrapped = true;
    bool m_placed = false;
    HighlightedMemo m_foundMemo;
    HighlightedMemo m_replacementMemo;
};
