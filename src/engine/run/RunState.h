#pragma once

#include "engine/files/CollectedIdentity.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>

class PreviewReceiver;
class RunJournal;

// The state of one Find & Replace run, shared by the batch run, per-file
// processing and the matcher.
struct RunState {
    // The run is to stop after the current file. Set from the Break Process
    // command, a Cancel answer, a write failure, or a signal in a console run,
    // so it is atomic; the engine polls it.
    std::atomic<bool> BreakRequested{false};

    // Started from the command line with both "-r" and "-s": no file list, no
    // replace confirmation, no binary question, no statistics.
    bool unattended = false;

    bool PromptEachReplacement = true;
    bool AskBinary = true;
    bool AskReadOnly = true;
    bool AskBackUpFailure = true;

    // Full paths of the back-up folders chosen in this run, compared exactly
    // (file names are case-sensitive here).
    QStringList BackUpFolders;

    // How the coding of the current file was worked out.
    QString CodingReport;

    // Every collected file's identity, by its path in the file list.
    QHash<QString, CollectedIdentity> CollectedFiles;

    // The real paths of the job's folders, and the links found in them
    // whose targets lie outside every one of them (left alone).
    QStringList JobFolders;
    QStringList OutsideLinks;
    // The real paths of folders that hold leftovers of a killed run.
    QSet<QByteArray> LeftoverFolders;

    // A file could not be read or written, ran out of memory or was skipped
    // after its back-up failed: an unattended run then ends with exit code 1.
    bool fileFailed = false;

    // The run's journal could not be written, so the run cannot be undone:
    // an unattended run that failed no file then ends with exit code 3.
    bool journalFailed = false;

    // Set for a preview: files are processed as in a run but nothing is
    // written (no file, no back-up copy); what would change goes here.
    PreviewReceiver *preview = nullptr;

    // Set for a run that records what it writes, so that it can be undone.
    RunJournal *journal = nullptr;

    // Threads the run may use besides its own: 0 chooses by the machine's
    // cores, 1 is the plain run that does everything on the run's thread.
    int workerThreads = 0;

    // The identity the file had when collected; none for a file the run did
    // not collect.
    std::optional<CollectedIdentity> collectedIdentity(const QString &path) const
    {
        const auto found = CollectedFiles.constFind(path);
        return found == CollectedFiles.constEnd() ? std::nullopt : std::optional(*found);
    }

    bool breakRequested() const { return BreakRequested.load(std::memory_order_relaxed); }
    void requestBreak() { BreakRequested.store(true, std::memory_order_relaxed); }
};
