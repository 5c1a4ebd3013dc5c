#pragma once

#include "engine/match/ReplacementTemplate.h"

#include <QRegularExpression>
#include <QString>
#include <memory>
#include <variant>

// Why a regular-expression pair cannot be used. `offset` is the position in
// the find text (in UTF-16 units) that the message is about, or -1 when the
// message is about the replacement text.
struct RegexPairError {
    QString message;
    qsizetype offset = -1;
};

// A regular-expression pair compiled for searching: PCRE2 through
// QRegularExpression with Unicode classes (\w, \d, \b know every script),
// "^" and "$" at every line start and end, any of CR, LF and CR LF ending a
// line ("." takes none of them), and case folding unless the pair is case
// sensitive. The replacement's references are resolved to group numbers.
struct RegexPair {
    QRegularExpression search;
    // The search with one more alternative that matches at the end of the
    // text only, as the last group: a search from an offset that returns no
    // match at all has hit one of PCRE2's limits (QRegularExpression reports
    // those as no match). Used where "no match" must be told from a limit.
    QRegularExpression probe;
    int probeSentinelGroup = 0;
    QList<ReplacementPiece> replacement; // every reference by number
    QString requiredLiteral;             // see RequiredLiteral
    bool caseSensitive = false;
};

using CompiledRegexPair = std::variant<std::shared_ptr<const RegexPair>, RegexPairError>;

// Compiles a pair, or says why it cannot be used: an invalid pattern (PCRE2's
// message and offset), a backtracking verb that would end a whole search
// ((*COMMIT), (*PRUNE), (*SKIP)), or a replacement that refers to a group the
// pattern does not have.
CompiledRegexPair CompileRegexPair(const QString &find, const QString &replacement,
                                   bool caseSensitive);

// The same, compiled once per thread for every use of the same texts, so that
// a run does not compile (and JIT-compile) a pattern for every file.
CompiledRegexPair SharedRegexPair(const QString &find, const QString &replacement,
                                  bool caseSensitive);
