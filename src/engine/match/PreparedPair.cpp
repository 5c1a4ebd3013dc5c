#include "engine/match/PreparedPair.h"

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"
#include "settings/CellText.h"

namespace {

bool isWhite(char c, const WhiteSpaceSet &set)
{
    return set.contains(char16_t(static_cast<unsigned char>(c)));
}

PatternUnitKind kindOf(char c, const PairOptions &options)
{
    if (options.singleWildcard && c == options.singleWildcard)
        return PatternUnitKind::SingleWildcard;
    if (options.multiWildcard && c == options.multiWildcard)
        return PatternUnitKind::MultiWildcard;
    return PatternUnitKind::Literal;
}

} // namespace

QByteArray NormalizeWhiteSpace(const QByteArray &text, const WhiteSpaceSet &set)
{
    QByteArray out;
    out.reserve(text.size());
    bool previousWhite = false;
    for (char c : text) {
        const bool white = isWhite(c, set);
        if (!white)
            out.append(c);
        else if (!previousWhite)
            out.append(' ');
        previousWhite = white;
    }
    return out;
}

QByteArray RemoveWhiteSpace(const QByteArray &text, const WhiteSpaceSet &set)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text)
        if (!isWhite(c, set))
            out.append(c);
    return out;
}

PreparedPair PreparePair(const QByteArray &findCell, const QByteArray &replacementCell,
                         const QByteArray &optionsText, int encoding)
{
    PreparedPair pair;
    pair.options = PairOptionsFromText(optionsText);
    pair.whiteSpace = WhiteSpaceSet(pair.options.includesEndOfLine());
    pair.findText = DecodeCellText(findCell);
    pair.replacementText = DecodeCellText(replacementCell);
    pair.replacementBytes = EncodeReplacement(pair.replacementText, encoding);

    QByteArray text = pair.findText;
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    if (pair.options.normalizes())
        text = NormalizeWhiteSpace(text, pair.whiteSpace);
    else if (pair.options.ignoresWhiteSpace())
        text = RemoveWhiteSpace(text, pair.whiteSpace);

    const bool fold = !pair.options.caseSensitive;
    pair.shownPattern = fold ? CodePage::ansiUpper(text) : text;
    pair.pattern.reserve(size_t(text.size()));
    pair.kinds.reserve(size_t(text.size()));
    for (char c : text) {
        // The text is folded unit by unit exactly as the file's characters
        // are, so every character matches itself without case sensitivity.
        const char16_t unit = CodePage::toUnicode(static_cast<unsigned char>(c));
        pair.pattern.push_back(fold ? CodePage::unitUpper(unit) : unit);
        pair.kinds.push_back(kindOf(c, pair.options));
    }
    return pair;
}
