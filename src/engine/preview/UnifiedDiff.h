#pragma once

// The preview library answers "what would change?": the list of edits a run
// made in a buffer and the unified diff hunks drawn from it, without writing
// anything. It uses the text library only.

#include "engine/preview/EditList.h"
#include "engine/preview/FilePreview.h"

struct DisplayCharset;

// The hunks (three lines of context) that turn `before` into `after`, both
// `encoding` 1..4 with a byte-order mark of `bomLength` bytes, given the edits
// between them. Lines end at a line feed of the coding; only the text around
// the edits is read, apart from one count of line feeds for the line numbers.
// ANSI text is read through `ansiCharset` (Windows-1252 when none is given).
QList<DiffHunk> MakeHunks(const QByteArray &before, const QByteArray &after, int encoding,
                          int bomLength, const QList<Edit> &edits,
                          const DisplayCharset *ansiCharset = nullptr);
