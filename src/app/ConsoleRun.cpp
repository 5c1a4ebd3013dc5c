#include "app/ConsoleRun.h"

#include "app/BreakSignals.h"
#include "app/ConsoleHost.h"
#include "engine/journal/RunJournal.h"
#include "engine/run/BatchRun.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "engine/text/CodePage.h"
#include "services/WorkerThreads.h"
#include "settings/Job.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileError.h"

#include <QFileInfo>
#include <memory>

namespace {

// Reading the job in a console run: its one message goes to standard error.
class ConsoleSettingsHost : public SettingsFileHost
{
public:
    explicit ConsoleSettingsHost(RunHost &host) : m_host(host) {}
    void showInformation(const QString &message) override { m_host.showMessage(message); }

private:
    RunHost &m_host;
};

} // namespace

int RunUnattended(const QString &settingsFile, PreviewReceiver *preview)
{
    ConsoleHost host;
    if (!QFileInfo::exists(settingsFile)) {
        host.showMessage("File \"" + settingsFile + "\" specified on the command line doesn't exist.");
        return 1;
    }

    Job job;
    try {
        ConsoleSettingsHost settingsHost(host);
        // A refused version leaves the job empty; the run then fails its
        // first validation, as a run from the window would.
        ReadSettingsFile(settingsFile, job, settingsHost);
    } catch (const SettingsFileError &error) {
        host.showMessage(error.message());
        return 1;
    }
    ConsoleRunSetup setup;
    setup.jobPath = QFileInfo(settingsFile).absoluteFilePath();
    setup.preview = preview;
    setup.workerThreads = WorkerThreadsFromEnvironment();
    setup.automaticSave = [&] { WriteSettingsFile(settingsFile, job); };
    return RunJobUnattended(job, host, setup);
}

int RunJobUnattended(const Job &job, ConsoleHost &host, const ConsoleRunSetup &setup)
{
    RunState state;
    state.unattended = true;
    state.workerThreads = setup.workerThreads;
    // A preview writes nothing, so it has nothing to record either.
    RunJournal journal(RunJournal::defaultFolder(), setup.jobPath);
    state.preview = setup.preview;
    state.journal = setup.preview ? nullptr : &journal;
    BreakSignals::install(state);
    RunContext run{host, state, job};
    std::unique_ptr<PathTable> files(newFileListTable());
    std::unique_ptr<PathTable> statistics(newStatisticsTable());
    BatchRun batch(run, *files, *statistics);
    batch.setAutomaticSave(setup.automaticSave);

    try {
        batch.FindAndReplaceMnuClick();
    } catch (const SettingsFileError &error) {
        host.showMessage(error.message());
        return 1;
    }

    if (BreakSignals::received()) {
        host.showMessage(QStringLiteral("The run was stopped by a signal at file %1; the files "
                                        "after it were left as they were.")
                             .arg(host.progress().isEmpty() ? QStringLiteral("0")
                                                            : host.progress()));
        return BreakSignals::exitCode();
    }
    return UnattendedExitCode(host.exitCode(), state);
}
