#pragma once

// "--undo": puts back the files of the last run from their back-up copies and
// prints each file restored or left. Returns 1 when a file could not be
// restored, else 0 ("Nothing to undo." included).
int UndoLastRun();
