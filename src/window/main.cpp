#include "services/CommandLine.h"
#include "services/ProgramInfo.h"
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include <QApplication>
#include <QIcon>

// The main window's program. sarvonex starts it in its own place, with the
// same arguments, whenever a window is to be shown (with a display, for
// anything but the commands that never show one); sarvonex has already set
// SIGXFSZ aside, and an ignored signal stays ignored across exec.

namespace {

// The icon of every window, and the desktop entry that a Wayland compositor
// takes the task bar icon and name from.
void SetProgramIcon()
{
    QIcon icon;
    for (const char *size : {"48", "256"})
        icon.addFile(QStringLiteral(":/icons/%1/sarvonex.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("sarvonex"));
}

} // namespace

int main(int argc, char *argv[])
{
    const StartupRequest request = StartupRequest::fromArguments(CommandLineArguments(argc, argv));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    SetProgramIcon();
    TPKSarvonexFrm window(request);
    window.show();
    app.exec();
    return window.exitCode();
}
