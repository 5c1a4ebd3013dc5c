#include "ui/EditStrings/MultiWildcardPosition.h"

#include <algorithm>

namespace {

QByteArray WithoutIgnoredWhiteSpace(const QByteArray &text, WhiteSpaceMode mode)
{
    if (mode != WhiteSpaceMode::Ignore && mode != WhiteSpaceMode::IgnoreInclEol)
        return text;
    const bool lineBreaks = mode == WhiteSpaceMode::IgnoreInclEol;
    QByteArray result;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\xA0';
        const bool lineBreak = c == '\r' || c == '\n';
        if (!blank && !(lineBreaks && lineBreak))
            result += c;
    }
    return result;
}

// True when `part` holds a character other than the single wildcard; with no
// single wildcard any character counts.
bool HasAnchor(QByteArrayView part, char single)
{
    return std::any_of(part.begin(), part.end(),
                       [single](char c) { return !single || c != single; });
}

} // namespace

MultiWildcardPosition CheckMultiWildcardPosition(const QByteArray &findText, WhiteSpaceMode mode,
                                                 char single, char multi)
{
    if (!multi)
        return MultiWildcardPosition::Fine;
    const QByteArray text = WithoutIgnoredWhiteSpace(findText, mode);
    const qsizetype first = text.indexOf(multi);
    if (first < 0)
        return MultiWildcardPosition::Fine;
    if (!HasAnchor(QByteArrayView(text).first(first), single))
        return MultiWildcardPosition::Leading;
    const qsizetype last = text.lastIndexOf(multi);
    if (!HasAnchor(QByteArrayView(text).sliced(last + 1), single))
        return MultiWildcardPosition::Trailing;
    return MultiWildcardPosition::Fine;
}
