#pragma once

#include "engine/journal/RunJournal.h"

#include <QList>
#include <QString>

// What the undo did with one file of the run.
struct RestoreResult {
    QString path;
    bool restored = false;
    QString reason; // why it was left: empty when restored
};

// The newest journal in `folder` when its run wrote files and was not undone
// yet; only the last run can be undone.
std::optional<JournalRecord> LastUndoableRun(const QString &folder);

// Puts back every file of the run from its back-up copy, with the copy's
// modification time, where the file still has the identity the run left. A
// file changed since, or without a back-up copy, is left alone; a file the
// run never replaced has no result. The write is
// the run's safe write; the back-up copies stay. The journal is then marked
// undone, whatever could be restored.
QList<RestoreResult> UndoRun(const JournalRecord &journal);
