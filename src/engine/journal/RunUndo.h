#pragma once

#include "engine/journal/RunJournal.h"

#include <QList>
#include <QString>

// What the undo did with one file of the run.
struct RestoreResult {
    QString path;
    bool restored = false;
    // Not restored because it already holds its back-up copy's content (an
    // earlier undo put it back): nothing is left to do.
    bool alreadyRestored = false;
    QString reason; // why it was left: empty when restored
};

// The newest journal in `folder` when its run wrote files and was not undone
// yet; only the last run can be undone. A damaged journal gives nothing, and
// `damage` says why; so does the journal of a run that made no back-up
// copies, and then `noBackups` (when given) is set.
std::optional<JournalRecord> LastUndoableRun(const QString &folder, QString *damage = nullptr,
                                             bool *noBackups = nullptr);

// What the user is told when the last run made no back-up copies.
extern const char NoBackupsToUndo[];

// Puts back every file of the run from its back-up copy, with the copy's
// modification time, where the file still has the identity the run left. A
// file changed since, or without a back-up copy, is left alone; a file the
// run never replaced has no result. Only a regular file is restored, named
// by an absolute path without "." or ".." in the run's folders, from a
// regular back-up copy beside it (in its folder or a subfolder of it) that
// still has the identity it was made with; no link is followed on the way,
// but a link that names the file. The write is the run's safe write; the
// back-up copies stay. The journal is then marked undone, whatever could be
// restored.
QList<RestoreResult> UndoRun(const JournalRecord &journal);
