#include "app/ConnectionCheck.h"
#include "app/ConsoleRun.h"
#include "app/ConsoleUndo.h"
#include "app/PreviewPrinter.h"
#include "app/WindowProgram.h"
#include "app/replace/ReplaceCommand.h"
#include "engine/files/PendingName.h"
#include "services/CommandLine.h"
#include "services/ProgramInfo.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

namespace {

const char usage[] =
    "Usage: sarvonex [-f<settings file> [-r [-s] | --preview [--color=<when>]]]\n"
    "       sarvonex replace [OPTIONS] [--] FIND REPLACE [PATH...]\n"
    "       sarvonex --undo\n"
    "\n"
    "Opens the main window, with the job of a settings file when one is given.\n"
    "Without a display, the window's forms do not work, the others do:\n"
    "-f<file> -r -s runs the find & replace job unattended: no dialog is shown,\n"
    "every match is replaced, messages go to standard error.\n"
    "\n"
    "  -f<file>, -f:<file>  the settings file (a slash may stand for the hyphen)\n"
    "  -r                   run Find & Replace on it, then end\n"
    "  -s                   with -r: unattended\n"
    "  --preview            with -f: show, as unified diffs, what a run of the job\n"
    "                       would change, and write nothing\n"
    "  --color=<when>       colour the preview: auto (on a terminal), always, never\n"
    "  --undo               put back the files of the last run from their back-up\n"
    "                       copies, where they were not changed since\n"
    "  replace ...          replace FIND by REPLACE in the files of the PATHs,\n"
    "                       without a job file (below; sarvonex replace --help)\n"
    "  /CheckInternet       alone: exit code 1 when connected, else 0\n"
    "  --help               this text\n"
    "  --version            the program version\n"
    "\n"
    "Exit code: 0 when the run did what was asked, 1 when it could not (a missing\n"
    "settings file, a job without folders, file types or string pairs, a file\n"
    "that could not be read or written, a file --undo could not restore), 2 for a\n"
    "command line it does not take, 3 when the run's journal could not be written\n"
    "(the run cannot be undone), 130 or 143 when Ctrl+C or SIGTERM stopped it.\n";

// Whether windows can be shown: without any display (a server, cron, CI)
// no window is created at all.
bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The preview and the undo print to standard output, with or without a
// display.
int RunConsoleCommand(int argc, char *argv[], const StartupRequest &request)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationTitle);
    if (request.undo) {
        PendingName::startWatcher();
        return UndoLastRun();
    }
    if (request.settingsFile.isEmpty() || request.color.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    PreviewPrinter printer(stdout, PreviewPrinter::colorWanted(request.color));
    const int exitCode = RunUnattended(request.settingsFile, &printer);
    printer.printSummary();
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    // Under a file-size limit a write beyond it then fails with EFBIG and
    // takes the write's failure path (original kept, message, exit code 1)
    // instead of ending the process half-way through a write.
    // The signal stays ignored in the window program, across exec.
    std::signal(SIGXFSZ, SIG_IGN);

    const QStringList arguments = CommandLineArguments(argc, argv);

    // Before anything else, as scripts use it to probe the network.
    if (IsConnectionCheck(arguments))
        return ConnectionCheckExitCode();

    if (arguments == QStringList{"--help"}) {
        std::fputs(usage, stdout);
        std::printf("\n%s", ReplaceUsage);
        return 0;
    }
    // With or without a display: the command never opens a window. Here and
    // below, a command that may write starts the guard of its temporary
    // names while the process is still small (see PendingName).
    if (!arguments.isEmpty() && arguments.first() == QStringLiteral("replace")) {
        PendingName::startWatcher();
        return RunReplaceCommand(argc, argv, arguments.mid(1));
    }
    if (arguments == QStringList{"--version"}) {
        std::printf("%s\n", qPrintable(ProgramVersion().toString()));
        return 0;
    }

    const StartupRequest request = StartupRequest::fromArguments(arguments);
    if (request.preview || request.undo)
        return RunConsoleCommand(argc, argv, request);
    if (HasDisplay())
        return ExecWindowProgram(argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationTitle);
    if (request.unattended && !request.settingsFile.isEmpty()) {
        PendingName::startWatcher();
        return RunUnattended(request.settingsFile);
    }

    std::fputs(usage, stderr);
    return 2;
}
