#pragma once

#include "ui_TWizardFrm.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QMouseEvent;
class QTimer;

// The wizard: a small borderless hint window that explains, stage by stage,
// how to build a job (stages 1 to 7, stepped through by its links) and what
// the dialogs of a run show (stages 8 to 10, set by the run). It only shows
// texts and asks the main window to turn to the page a stage talks about.
//
// It is a tool window owned by the main window: it stays above the main
// window without being modal, and it is shown without taking activation, so
// the main window keeps the keyboard and stays fully usable.
class TWizardFrm : public QWidget, public Ui::TWizardFrm
{
    Q_OBJECT
public:
    // `mainWindow` is the window whose activity keeps the links visible.
    explicit TWizardFrm(QWidget *mainWindow);

    // 8, 9 and 10 come from the run; a stage outside 1 to 10 changes nothing.
    // Does not show a hidden wizard.
    void SetStage(int n);
    int stage() const { return m_stage; }

    // Shows or hides "<<< Previous", "Next >>>" and "Close".
    void SetLinksVisible(bool on);

    // Every 250 ms while shown: the links are visible exactly while the
    // wizard or the main window is the application's active window, so a
    // run's modal dialog leaves the wizard showing only its text.
    void MainTmrTimer();

    QTimer *MainTmr;

signals:
    // Stages 2 to 6 turn the main window to this page
    // (0 Folders, 1 Files, 2 Strings, 3 Options).
    void pageRequested(int page);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitTallestText();
    void DisplayStage();
    void UpdateLinks();
    void PrevLblClick();
    void NextLblClick();
    void CancelLblClick();
    void drag(const QMouseEvent &event);

    QPointer<QWidget> m_mainWindow;
    int m_stage = 1;
    bool m_linksVisible = true;
    bool m_dragging = false;
    QPoint m_dragOrigin;     // global mouse position where the drag started
    QPoint m_dragWindowPos;  // the window's position then
};
