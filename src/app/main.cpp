#include "app/CommandLine.h"
#include "app/ConnectionCheck.h"
#include "app/ConsoleRun.h"
#include "app/ProgramInfo.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

const char usage[] =
    "Usage: sarvonex -f<settings file> -r -s\n"
    "\n"
    "Runs the find & replace job of a settings file unattended: no dialog is\n"
    "shown, every match is replaced, messages go to standard error.\n"
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

} // namespace

int main(int argc, char *argv[])
{
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

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationTitle);

    const StartupRequest request = StartupRequest::fromArguments(arguments);
    if (request.unattended && !request.settingsFile.isEmpty())
        return RunUnattended(request.settingsFile);

    std::fputs(usage, stderr);
    return 2;
}
