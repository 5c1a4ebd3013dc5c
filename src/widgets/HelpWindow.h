#pragma once

#include <QWidget>

class HelpBrowser;
class QToolButton;

// The help viewer: the topics of a compiled help file with Back and Forward
// (also Alt+Left and Alt+Right). It first opens over the window it belongs
// to, later where the user left it; Escape closes it.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // See HelpBrowser::showTopic.
    bool showTopic(const QString &helpPath, const QString &topic);

    HelpBrowser *browser() const { return m_browser; }
    QToolButton *backButton() const { return m_back; }
    QToolButton *forwardButton() const { return m_forward; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    HelpBrowser *m_browser;
    QToolButton *m_back;
    QToolButton *m_forward;
    bool m_placed = false;
};
