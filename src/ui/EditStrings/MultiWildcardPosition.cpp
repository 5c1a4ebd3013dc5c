#include "ui/EditStrings/MultiWildcardPosition.h"

#include <algorithm>

namespace {

QString WithoutIgnoredWhiteSpace(const QString &text, WhiteSpaceMode mode)
{
    if (mode != WhiteSpaceMode::Ignore && mode != WhiteSpaceMode::IgnoreInclEol)
        return text;
    const bool lineBreaks = mode == WhiteSpaceMode::IgnoreInclEol;
    QString result;
    for (const QChar c : text) {
        const bool blank = c == u' ' || c == u'\t' || c == QChar(0xA0);
        const bool lineBreak = c == u'\r' || c == u'\n';
        if (!blank && !(lineBreaks && lineBreak))
            result += c;
    }
    return result;
}

// True when `part` holds a character other than the single wildcard; with no
// single wildcard any character counts.
bool HasAnchor(QStringView part, char single)
{
    return std::any_of(part.begin(), part.end(),
                       [single](QChar c) { return !single || c != QLatin1Char(single); });
}

} // namespace

MultiWildcardPosition CheckMultiWildcardPosition(const QString &findText, WhiteSpaceMode mode,
                                                 char single, char multi)
{
    if (!multi)
        return MultiWildcardPosition::Fine;
    const QString text = WithoutIgnoredWhiteSpace(findText, mode);
    const qsizetype first = text.indexOf(QLatin1Char(multi));
    if (first < 0)
        return MultiWildcardPosition::Fine;
    if (!HasAnchor(QStringView(text).first(first), single))
        return MultiWildcardPosition::Leading;
    const qsizetype last = text.lastIndexOf(QLatin1Char(multi));
    if (!HasAnchor(QStringView(text).sliced(last + 1), single))
        return MultiWildcardPosition::Trailing;
    return MultiWildcardPosition::Fine;
}
