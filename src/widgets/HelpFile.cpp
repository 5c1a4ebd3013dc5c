#include "widgets/HelpFile.h"

#include "services/ProgramInfo.h"
#include "widgets/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

namespace {

QPointer<HelpWindow> helpWindow;

void showInformation(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QString::fromLatin1(ApplicationTitle), text);
}

} // namespace

QString FindHelpFile(const QString &programFolder, const QString &programName)
{
    const QString fileName = programName + QStringLiteral(".chm");
    for (const QString &folder : {QString(), QStringLiteral("Help/"),
                                  QStringLiteral("../share/sarvonex/")}) {
        const QString path = QDir::cleanPath(programFolder + folder + fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void OpenHelpTopic(QWidget *parent, const QString &topic)
{
    OpenHelpTopic(parent, topic, ProgramFolder(), ProgramName());
}

void OpenHelpTopic(QWidget *parent, const QString &topic, const QString &programFolder,
                   const QString &programName)
{
    const QString helpPath = FindHelpFile(programFolder, programName);
    if (helpPath.isEmpty()) {
        showInformation(parent, "File \"" + programName + ".chm\" not found. ");
        return;
    }
    if (!helpWindow)
        helpWindow = new HelpWindow(parent ? parent->window() : nullptr);
    // A damaged file is reported rather than shown as an empty window.
    if (!helpWindow->showTopic(helpPath, topic)) {
        showInformation(parent, "File \"" + programName + ".chm\" cannot be read. ");
        return;
    }
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}
