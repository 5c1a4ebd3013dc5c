#pragma once

#include "engine/files/ByteBuffer.h"
#include "engine/preview/ReplacementSink.h"
#include "engine/run/RunContext.h"
#include "settings/CellTable.h"

#include <QByteArray>
#include <QString>

// What a preview keeps of the passes: `sink` is told where each replacement
// was made, and `original`, while still empty, takes the content the first
// pass that replaces anything replaced (the file as read) instead of that
// content being freed, so that no copy of it is needed.
struct PassRecording {
    ReplacementSink *sink = nullptr;
    ByteBuffer *original = nullptr;
};

// The counts of one file, added up over all its string pairs.
struct FileCounters {
    qint64 occurrences = 0;  // matches found, replaced or not
    qint64 replacements = 0; // matches replaced
    bool outOfMemory = false;
    // A regular expression reached PCRE2's limits: the file is to be left as
    // it was. ApplyStringPairs names the pair (from 1).
    bool limitReached = false;
    int limitReachedPair = 0;
};

// Applies one string pair to the whole content of a file held in `buffer`
// (length() valid bytes in `encoding` 1..4, the first `bomLength` of them a
// byte-order mark that is skipped and kept) and leaves the new content in
// `buffer`. Bytes outside accepted matches are copied unchanged. Asks the host
// to confirm each match while prompting is on. Returns true when at least one
// match was replaced.
//
// On an allocation failure `counters.outOfMemory` is set; the buffer is then
// either untouched (the destination could not be made) or incomplete (it could
// not grow), and must not be written.
//
// A regular-expression pair that reaches PCRE2's limits sets
// `counters.limitReached`; the buffer must not be written then either.
bool ApplyStringPair(ByteBuffer &buffer, const QString &findText,
                     const QString &replacementText, const QString &optionsText,
                     const QString &path, FileCounters &counters, int encoding, int bomLength,
                     RunContext &run, PassRecording recording = {});

// Applies every pair of `pairs` (find, replacement, options) in turn, pumping
// the host between them. True when the content changed and the run goes on;
// false when nothing changed, the run was asked to stop, memory ran out (the
// occurrences then count 0) or a regular expression reached its limits.
bool ApplyStringPairs(ByteBuffer &buffer, const QList<TextTable::Row> &pairs, const QString &path,
                      FileCounters &counters, int encoding, int bomLength, RunContext &run,
                      PassRecording recording = {});
