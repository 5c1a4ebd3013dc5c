#include "engine/match/RegexPair.h"

#include "engine/match/RequiredLiteral.h"

#include <QHash>
#include <optional>

namespace {

// Line ends are CR, LF or CR LF, whatever the file uses. Set by a leading
// verb, which the pattern's own leading verbs may override.
const QString NewlineVerb = QStringLiteral("(*ANYCRLF)");
const QStringView RefusedVerbs[] = {u"(*COMMIT", u"(*PRUNE", u"(*SKIP"};
constexpr int CacheLimit = 32;

QRegularExpression::PatternOptions patternOptions(bool caseSensitive)
{
    QRegularExpression::PatternOptions options =
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption;
    if (!caseSensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    return options;
}

// The verbs that set options ("(*UCP)", "(*CRLF)", ...) are read only at the
// very start of a pattern: they stay in front of anything wrapped around it.
qsizetype leadingVerbsLength(const QString &pattern)
{
    static const QRegularExpression verbs(QStringLiteral("^(?:\\(\\*[A-Z_]+(?:=\\d+)?\\))*"));
    return verbs.match(pattern).capturedLength();
}

// A "(*" that no backslash escapes.
qsizetype refusedVerbAt(const QString &pattern)
{
    for (QStringView verb : RefusedVerbs) {
        for (qsizetype at = pattern.indexOf(verb); at >= 0; at = pattern.indexOf(verb, at + 1)) {
            qsizetype slashes = 0;
            while (at - slashes > 0 && pattern[at - slashes - 1] == u'\\')
                ++slashes;
            if (slashes % 2 == 0)
                return at;
        }
    }
    return -1;
}

// The search in a group, with the sentinel alternative after it. "\E" ends a
// quotation left open; a line break ends a comment of the extended syntax,
// tried only when the plain form loses the sentinel to such a comment.
bool makeProbe(RegexPair &pair, const QString &pattern, bool caseSensitive)
{
    const qsizetype verbs = leadingVerbsLength(pattern);
    for (const QString &closing : {QStringLiteral("\\E)"), QStringLiteral("\\E\n)")}) {
        pair.probe = QRegularExpression(NewlineVerb + pattern.left(verbs) + QStringLiteral("(?:")
                                            + pattern.mid(verbs) + closing
                                            + QStringLiteral("|()\\z"),
                                        patternOptions(caseSensitive));
        if (pair.probe.isValid()
            && pair.probe.captureCount() == pair.search.captureCount() + 1) {
            pair.probeSentinelGroup = pair.probe.captureCount();
            return true;
        }
    }
    return false;
}

// Resolves every reference of the replacement to a group number; an error
// names the first reference to a group the pattern does not have.
std::optional<RegexPairError> resolveReferences(RegexPair &pair, const QString &replacement)
{
    const QStringList names = pair.search.namedCaptureGroups();
    pair.replacement = ParseReplacementTemplate(replacement);
    for (ReplacementPiece &piece : pair.replacement) {
        if (!piece.name.isEmpty()) {
            piece.group = int(names.indexOf(piece.name));
            if (piece.group < 0)
                return RegexPairError{
                    QStringLiteral("The replacement text refers to the group \"%1\", which the "
                                   "regular expression does not have.")
                        .arg(piece.name)};
            piece.name.clear();
        } else if (piece.group > pair.search.captureCount()) {
            return RegexPairError{QStringLiteral("The replacement text refers to group %1, but "
                                                 "the regular expression has %2.")
                                      .arg(piece.group)
                                      .arg(pair.search.captureCount() == 1
                                               ? QStringLiteral("only 1 group")
                                               : QStringLiteral("%1 groups")
                                                     .arg(pair.search.captureCount()))};
        }
    }
    return std::nullopt;
}

} // namespace

CompiledRegexPair CompileRegexPair(const QString &find, const QString &replacement,
                                   bool caseSensitive)
{
    auto pair = std::make_shared<RegexPair>();
    pair->caseSensitive = caseSensitive;
    pair->search = QRegularExpression(NewlineVerb + find, patternOptions(caseSensitive));
    if (!pair->search.isValid())
        return RegexPairError{
            QStringLiteral("The regular expression is not valid: %1 at offset %2.")
                .arg(pair->search.errorString())
                .arg(qMax<qsizetype>(0, pair->search.patternErrorOffset() - NewlineVerb.size())),
            qMax<qsizetype>(0, pair->search.patternErrorOffset() - NewlineVerb.size())};
    if (const qsizetype at = refusedVerbAt(find); at >= 0)
        return RegexPairError{QStringLiteral("The regular expression uses %1), which is not "
                                             "supported: it could stop a search as a whole.")
                                  .arg(find.mid(at, find.indexOf(u')', at) - at)),
                              at};
    if (const std::optional<RegexPairError> error = resolveReferences(*pair, replacement))
        return *error;
    if (!makeProbe(*pair, find, caseSensitive))
        return RegexPairError{QStringLiteral("The regular expression cannot be searched safely."),
                              0};
    pair->requiredLiteral = RequiredLiteral(find, caseSensitive);
    pair->search.optimize();
    return std::shared_ptr<const RegexPair>(std::move(pair));
}

CompiledRegexPair SharedRegexPair(const QString &find, const QString &replacement,
                                  bool caseSensitive)
{
    thread_local QHash<QString, CompiledRegexPair> cache;
    // The length of the find text keeps the two texts apart.
    const QString key = QString::number(find.size()) + (caseSensitive ? u'c' : u'i') + find
        + replacement;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    if (cache.size() >= CacheLimit)
        cache.clear();
    return *cache.insert(key, CompileRegexPair(find, replacement, caseSensitive));
}
