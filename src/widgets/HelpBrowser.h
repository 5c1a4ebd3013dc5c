#pragma once

#include "widgets/ChmFile.h"

#include <QTextBrowser>
#include <memory>

// A browser whose pages and images come from a compiled help file, so the
// links between its topics work as in any viewer.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    ~HelpBrowser() override;

    // Opens the help file (unless it is the one already open) at the topic,
    // or at its start page for an empty topic or one the file lacks. False
    // when the file cannot be read.
    bool showTopic(const QString &helpPath, const QString &topic);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    std::unique_ptr<ChmFile> m_help;
};
