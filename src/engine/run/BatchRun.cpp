#include "engine/run/BatchRun.h"

#include "engine/files/Leftovers.h"
#include "engine/files/PendingName.h"
#include "engine/journal/RunJournal.h"
#include "engine/run/FileCollector.h"
#include "engine/run/FileProcessor.h"
#include "engine/run/RegexPairCheck.h"
#include "engine/run/SettlingHost.h"
#include "settings/FileEncoding.h"

#include <QScopeGuard>
#include <QThread>

namespace {
const char noStringPairsMessage[] =
    "No \"Find what/Replace with\" strings specified. At least one pair of strings must be "
    "specified.";
const char breakQuestion[] =
    "Are you sure to break the find & replace process?\n(changes in the current file will be "
    "discarded)";
// Threads for reading and matching ahead, and for the durable writes, which
// mostly wait on the disk: the more at once, the more flushes the file system
// can join.
struct ThreadCounts {
    int readers = 0;
    int writers = 0;
};

ThreadCounts threadCounts(int requested)
{
    if (requested == 1)
        return {};
    const int readers = requested > 1 ? requested : qMax(2, QThread::idealThreadCount());
    return {readers, qMax(8, 2 * readers)};
}
} // namespace

BatchRun::BatchRun(RunContext &run, PathTable &files, PathTable &statistics)
    : m_run(run), m_files(files), m_statistics(statistics)
{
}

void BatchRun::FindAndReplaceMnuClick()
{
    // A preview changes nothing, the settings file included.
    const bool preview = m_run.state.preview != nullptr;
    if (m_run.job.options().saveSettingsAutomatically && m_automaticSave && !preview)
        m_automaticSave();

    // A pair that cannot be searched for stops the run before any file is
    // collected, so nothing is written.
    if (const QString problem = RegexPairProblem(m_run.job); !problem.isEmpty()) {
        m_run.host.showPage(JobPage::Strings);
        m_run.host.showMessage(problem);
        if (m_run.state.unattended)
            m_run.host.setExitCode(1);
        return;
    }

    m_runActive = true;
    m_run.host.updateCommandStates(m_processing);
    const auto finish = qScopeGuard([this] {
        m_run.host.hideWizard();
        m_runActive = false;
        m_run.host.updateCommandStates(m_processing);
    });

    const bool showList = m_run.job.options().showFileList && !m_run.state.unattended && !preview;
    if (CollectFiles(showList, m_files, m_run))
        ProcessFileList();
}

void BatchRun::ProcessFileList()
{
    RunHost &host = m_run.host;
    RunState &state = m_run.state;
    if (m_run.job.stringPairs().isEmpty()) {
        host.showPage(JobPage::Strings);
        if (state.unattended) {
            host.setExitCode(1);
            host.logLine(QString::fromLatin1(noStringPairsMessage));
        } else {
            host.showMessage(QString::fromLatin1(noStringPairsMessage));
        }
        return;
    }

    if (!state.preview) {
        PendingName::startWatcher();
        for (const QByteArray &folder : std::as_const(state.LeftoverFolders)) {
            for (const QString &path : MendLeftovers(folder))
                host.showMessage(QStringLiteral("File %1 was left torn by an interrupted run; its "
                                                "original content was put back.")
                                     .arg(path));
        }
    }
    setProcessing(true);
    state.BackUpFolders.clear();
    state.AskBinary = true;
    state.AskReadOnly = true;
    state.AskBackUpFailure = true;
    state.PromptEachReplacement = m_run.job.options().promptEachReplace && !state.preview;
    state.BreakRequested = false;
    m_statistics.ClearGrid();
    const QString outside = QStringLiteral("link leads outside the job's folders");
    for (const QString &link : std::as_const(state.OutsideLinks))
        m_statistics.AppendRow({link, outside, outside});
    if (state.journal)
        state.journal->describeRun(state.JobFolders,
                                   m_run.job.options().backupMode != BackupNone);

    const QString savedTitle = host.title();
    {
        // Processing ends and the title returns however the loop is left.
        const auto restore = qScopeGuard([&] {
            host.setProgress(QString());
            setProcessing(false);
            host.setTitle(savedTitle);
            host.wizardStage(10);
        });

        const int count = m_files.DataRowCount();
        const ThreadCounts threads = threadCounts(state.workerThreads);
        std::vector<ReadAhead::Entry> entries;
        entries.reserve(size_t(count));
        for (int i = 1; i <= count; ++i) {
            ReadAhead::Entry entry;
            entry.path = m_files.cell(i, FileListPath);
            entry.requiredCoding =
                FileEncodingFromName(m_files.cell(i, FileListCoding).toLatin1());
            entry.collected = state.collectedIdentity(entry.path);
            entries.push_back(std::move(entry));
        }
        // With no question possible in the middle of a file, the pairs are
        // applied ahead too. A preview keeps the plain way: it records where
        // each replacement was made.
        std::optional<ReadAhead::Pairs> pairsAhead;
        if ((!state.PromptEachReplacement || state.unattended) && !state.preview)
            pairsAhead = ReadAhead::Pairs{m_run.job.stringPairs().entries(),
                                          m_run.job.options().binaryFiles, state.unattended};
        WriteQueue writes(threads.writers,
                          [this](const WriteResult &write) { ReportWrite(write, m_run); });
        SettlingHost settlingHost(host, state, writes);
        RunContext fileRun{settlingHost, state, m_run.job};
        {
            ReadAhead ahead(std::move(entries), std::move(pairsAhead), m_run.job,
                            threads.readers);
            const auto pump = [&] {
                host.pump();
                if (state.breakRequested())
                    ahead.cancel();
            };
            for (int i = 1; i <= count; ++i) {
                const QString counter = QString::number(i) + '/' + QString::number(count);
                if (state.unattended) {
                    host.setTitle("SVX [" + counter + ']');
                    host.pump();
                }
                host.setProgress(counter);
                const ReadAhead::Entry &entry = ahead.entry(i - 1);
                ProcessFile(entry.path, entry.requiredCoding, ahead.take(i - 1, pump),
                            m_statistics, fileRun, writes);
                writes.reportFinished();
                if (state.breakRequested())
                    break;
            }
        }
        // Every write is done, reported and lasting before the run ends.
        writes.finish([&] { host.pump(); });
        FinishJournal(m_run);
    }

    if (!state.unattended && !state.preview && m_run.job.options().showFinalStats)
        host.showStatistics(m_statistics);
}

void BatchRun::BreakProcessBtnClick()
{
    if (m_run.host.confirm(QString::fromLatin1(breakQuestion)))
        m_run.state.requestBreak();
}

void BatchRun::setProcessing(bool processing)
{
    m_processing = processing;
    m_run.host.updateCommandStates(processing);
}

int UnattendedExitCode(int validationExitCode, const RunState &state)
{
    if (validationExitCode != 0)
        return validationExitCode;
    if (state.fileFailed)
        return 1;
    return state.journalFailed ? UnrecordedRunExitCode : 0;
}
