#pragma once

#include "engine/run/RunHost.h"

#include <cstdio>

// The outcome of a run as JSON Lines: one object per file as its fate is
// known, then one summary object. Every line is flushed at once, so a reader
// can follow a long run.
//
//   {"type":"file","path":"/a/b.txt","coding":"utf-8","replacements":2,"outcome":"written"}
//   {"type":"file",...,"outcome":"skipped","reason":"binary"}
//   {"type":"file",...,"outcome":"failed","message":"Unable to read file: ..."}
//   {"type":"summary","files":3,"written":1,"unchanged":0,"skipped":1,"failed":1,
//    "replacements":2,"exit_code":1}
class JsonLinesReport
{
public:
    explicit JsonLinesReport(std::FILE *out) : m_out(out) { }

    void file(const FileOutcome &outcome);
    void summary(int exitCode);

private:
    std::FILE *m_out;
    qint64 m_counts[4] = {}; // by FileOutcome::Kind
    qint64 m_replacements = 0;
};
