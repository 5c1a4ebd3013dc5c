#include "app/ConsoleUndo.h"

#include "engine/journal/RunUndo.h"

#include <cstdio>

int UndoLastRun()
{
    const std::optional<JournalRecord> journal = LastUndoableRun(RunJournal::defaultFolder());
    if (!journal) {
        std::puts("Nothing to undo.");
        return 0;
    }
    int left = 0;
    for (const RestoreResult &result : UndoRun(*journal)) {
        const QByteArray path = result.path.toLocal8Bit();
        if (result.restored) {
            std::printf("Restored: %s\n", path.constData());
        } else {
            ++left;
            std::printf("Left as it is: %s (%s)\n", path.constData(),
                        result.reason.toLocal8Bit().constData());
        }
    }
    return left ? 1 : 0;
}
