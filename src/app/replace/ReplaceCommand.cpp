#include "app/replace/ReplaceCommand.h"

#include "app/ConsoleRun.h"
#include "app/PreviewPrinter.h"
#include "app/replace/JsonLinesReport.h"
#include "app/replace/ReplaceArguments.h"
#include "app/replace/ReplaceHost.h"
#include "app/replace/ReplaceJob.h"
#include "services/ProgramInfo.h"
#include "settings/Job.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <unistd.h>

const char ReplaceUsage[] =
    "Usage: sarvonex replace [OPTIONS] [--] FIND REPLACE [PATH...]\n"
    "\n"
    "Replaces FIND by REPLACE in the files under each PATH (folders, searched to\n"
    "--depth, and files; default: the current folder) as an unattended run of a\n"
    "job would: each file keeps its coding and is written whole or not at all.\n"
    "FIND is plain text and case-sensitive. Hidden files and folders are skipped.\n"
    "\n"
    "  -g, --glob MASK          take files whose names match MASK (* and ?, any\n"
    "                           case; repeatable; default: *)\n"
    "  -x, --exclude MASK       leave out files whose names match MASK (repeatable)\n"
    "      --depth 0|1|all      a folder alone, with its subfolders, or every level\n"
    "                           (default: all)\n"
    "  -i, --ignore-case        match without regard to case\n"
    "  -w, --word               match whole words only\n"
    "  -e, --regex              FIND is a regular expression (PCRE2); REPLACE may\n"
    "                           use $1, ${1}, ${name} and $$ for a dollar sign\n"
    "      --encoding CODING    auto, ansi, utf-8, utf-16le, utf-16be: the coding of\n"
    "                           the files (default: auto, by byte-order mark and\n"
    "                           content)\n"
    "      --backup MODE        none (default), folder[=NAME] (a back-up subfolder,\n"
    "                           default _BACKUP_) or rename[=PREFIX] (a copy beside\n"
    "                           the file, default prefix ~); --undo can restore\n"
    "                           only files that were backed up\n"
    "      --binary skip|text   files that look binary: skip (default) or treat as\n"
    "                           text\n"
    "      --read-only skip|modify  read-only files: skip (default) or modify\n"
    "      --preview            print the changes as unified diffs, write nothing\n"
    "      --color[=WHEN]       colour the preview: auto (default), always, never\n"
    "      --json               JSON Lines on standard output: one object per file,\n"
    "                           then a summary\n"
    "      --save-job FILE      write the equivalent job file and run nothing;\n"
    "                           sarvonex -fFILE -r -s then does what the command\n"
    "                           would have done\n"
    "  -j, --threads N          threads besides the run's own (1: a single thread;\n"
    "                           default: chosen by the processor count)\n"
    "  -h, --help               this text\n"
    "      --                   ends the options, so FIND may begin with a hyphen\n"
    "\n"
    "Examples:\n"
    "  sarvonex replace colour color docs\n"
    "  sarvonex replace -w -g '*.c' -g '*.h' old_name new_name src include\n"
    "  sarvonex replace --preview -i 'Acme Inc.' 'Acme Ltd.' | less -R\n"
    "  sarvonex replace -e 'get_(\\w+)\\(\\)' '$1()' src\n"
    "  sarvonex replace --backup folder --json -- --verbose --quiet scripts\n"
    "  sarvonex replace --save-job rename.ini old new src && sarvonex -frename.ini -r -s\n"
    "\n"
    "Exit code: 0 when the run did what was asked (also when nothing matched), 1\n"
    "when a file could not be read or written or the job was refused, 2 for a\n"
    "command line it does not take, 3 when the run's journal could not be written\n"
    "(the run cannot be undone), 130 or 143 when Ctrl+C or SIGTERM stopped it.\n";

namespace {

// The name the run journal gives these runs.
const char JournalName[] = "sarvonex replace";

int saveJob(const Job &job, const QString &path, ConsoleHost &host)
{
    try {
        WriteSettingsFile(path, job);
    } catch (const SettingsFileError &error) {
        host.showMessage(error.message());
        return 1;
    }
    return 0;
}

int run(const ReplaceRequest &request)
{
    std::optional<JsonLinesReport> report;
    if (request.json)
        report.emplace(stdout);
    ReplaceHost host(report ? &*report : nullptr, !request.json && ::isatty(STDERR_FILENO));

    // A path that is not there would make the run quietly narrower than
    // asked; it is refused, as a missing settings file is.
    for (const QString &path : request.paths) {
        if (!QFileInfo::exists(path)) {
            host.showMessage(u'"' + path
                             + QStringLiteral("\" specified on the command line doesn't exist."));
            if (report)
                report->summary(1);
            return 1;
        }
    }

    Job job;
    BuildReplaceJob(request, job);
    if (!request.saveJob.isEmpty())
        return saveJob(job, request.saveJob, host);

    ConsoleRunSetup setup;
    setup.jobPath = QString::fromLatin1(JournalName);
    setup.workerThreads = request.threads;
    if (request.preview) {
        PreviewPrinter printer(stdout, PreviewPrinter::colorWanted(request.color));
        setup.preview = &printer;
        const int exitCode = RunJobUnattended(job, host, setup);
        printer.printSummary();
        return exitCode;
    }
    const int exitCode = RunJobUnattended(job, host, setup);
    if (report)
        report->summary(exitCode);
    return exitCode;
}

} // namespace

int RunReplaceCommand(int argc, char *argv[], const QStringList &arguments)
{
    const ParsedReplace parsed = ParseReplaceArguments(arguments);
    if (!parsed.request) {
        std::fprintf(stderr, "sarvonex replace: %s\n\n%s", qPrintable(parsed.error), ReplaceUsage);
        return 2;
    }
    if (parsed.request->help) {
        std::fputs(ReplaceUsage, stdout);
        return 0;
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationTitle);
    return run(*parsed.request);
}
