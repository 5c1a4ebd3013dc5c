#include "app/CommandLine.h"
#include "app/ConnectionCheck.h"
#include "app/ConsoleRun.h"
#include "app/ProgramInfo.h"
#include "ui/MainWindow/TPKSarvonexFrm.h"

#include <QApplication>
#include <csignal>
#include <cstdio>

namespace {

const char usage[] =
    "Usage: sarvonex [-f<settings file> [-r [-s]]]\n"
    "\n"
    "Opens the main window, with the job of a settings file when one is given.\n"
    "Without a display, only an unattended run works: -f<file> -r -s runs the\n"
    "find & replace job unattended: no dialog is shown, every match is replaced,\n"
    "messages go to standard error.\n"
    "\n"
    "  -f<file>, -f:<file>  the settings file (a slash may stand for the hyphen)\n"
    "  -r                   run Find & Replace on it, then end\n"
    "  -s                   with -r: unattended\n"
    "  /CheckInternet       alone: exit code 1 when connected, else 0\n"
    "  --help               this text\n"
    "  --version            the program version\n"
    "\n"
    "Exit code: 0 when the run did what was asked, 1 when it could not (a missing\n"
    "settings file, a job without folders, file types or string pairs, a file\n"
    "that could not be read or written), 2 for a command line it does not take.\n";

// Whether windows can be shown: without any display (a server, cron, CI)
// no window is created at all.
bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunWindow(int argc, char *argv[], const StartupRequest &request)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    TPKSarvonexFrm window(request);
    window.show();
    app.exec();
    return window.exitCode();
}

} // namespace

int main(int argc, char *argv[])
{
    // Under a file-size limit a write beyond it then fails with EFBIG and
    // takes the write's failure path (original kept, message, exit code 1)
    // instead of ending the process half-way through a write.
    std::signal(SIGXFSZ, SIG_IGN);

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // Before anything else, as scripts use it to probe the network.
    if (IsConnectionCheck(arguments))
        return ConnectionCheckExitCode();

    if (arguments == QStringList{"--help"}) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (arguments == QStringList{"--version"}) {
        std::printf("%s\n", qPrintable(ProgramVersion().toString()));
        return 0;
    }

    const StartupRequest request = StartupRequest::fromArguments(arguments);
    if (HasDisplay())
        return RunWindow(argc, argv, request);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationTitle);
    if (request.unattended && !request.settingsFile.isEmpty())
        return RunUnattended(request.settingsFile);

    std::fputs(usage, stderr);
    return 2;
}
