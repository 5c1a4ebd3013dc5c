#include "app/ConsoleUndo.h"

#include "engine/journal/RunUndo.h"

#include <cstdio>

int UndoLastRun()
{
    QString damage;
    bool noBackups = false;
    const std::optional<JournalRecord> journal =
        LastUndoableRun(RunJournal::defaultFolder(), &damage, &noBackups);
    if (!damage.isEmpty()) {
        std::fprintf(stderr, "The run journal is damaged (%s); nothing was restored.\n",
                     damage.toLocal8Bit().constData());
        return 1;
    }
    if (noBackups) {
        std::fprintf(stderr, "%s\n", NoBackupsToUndo);
        return 1;
    }
    if (!journal) {
        std::puts("Nothing to undo.");
        return 0;
    }
    int left = 0;
    for (const RestoreResult &result : UndoRun(*journal)) {
        const QByteArray path = result.path.toLocal8Bit();
        if (result.restored) {
            std::printf("Restored: %s\n", path.constData());
        } else if (result.alreadyRestored) {
            std::printf("Already restored: %s\n", path.constData());
        } else {
            ++left;
            std::printf("Left as it is: %s (%s)\n", path.constData(),
                        result.reason.toLocal8Bit().constData());
        }
    }
    return left ? 1 : 0;
}
