#include "engine/match/PreparedPair.h"

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"
#include "settings/CellText.h"
#include "settings/DisplayCharsets.h"

#include <QStringView>

namespace {

PatternUnitKind kindOf(char32_t c, const PairOptions &options)
{
    if (options.singleWildcard && c == char32_t(options.singleWildcard))
        return PatternUnitKind::SingleWildcard;
    if (options.multiWildcard && c == char32_t(options.multiWildcard))
        return PatternUnitKind::MultiWildcard;
    return PatternUnitKind::Literal;
}

// The text the pair searches in a file of `encoding`: its own text in a
// Unicode file, its charset's spelling read as Windows-1252 in an ANSI file.
// Nothing when it has no such text; a byte its charset did not spell when the
// settings file was read exists only in ANSI files.
std::optional<QString> searchedText(const QString &text, const DisplayCharset &charset,
                                    int encoding)
{
    if (encoding != EncodingAnsi)
        return HoldsKeptBytes(text) ? std::nullopt : std::optional<QString>(text);
    const std::optional<QByteArray> spelled = EncodeInCharset(text, charset);
    return spelled ? std::optional<QString>(CodePage::toQString(*spelled)) : std::nullopt;
}

} // namespace

QString NormalizeWhiteSpace(const QString &text, const WhiteSpaceSet &set)
{
    QString out;
    out.reserve(text.size());
    bool previousWhite = false;
    for (QChar c : text) {
        const bool white = set.contains(c.unicode());
        if (!white)
            out.append(c);
        else if (!previousWhite)
            out.append(u' ');
        previousWhite = white;
    }
    return out;
}

QString RemoveWhiteSpace(const QString &text, const WhiteSpaceSet &set)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!set.contains(c.unicode()))
            out.append(c);
    return out;
}

PreparedPair PreparePair(const QString &findCell, const QString &replacementCell,
                         const QString &optionsText, int encoding)
{
    PreparedPair pair;
    pair.options = PairOptionsFromText(optionsText.toLatin1());
    pair.whiteSpace = WhiteSpaceSet(pair.options.includesEndOfLine());
    pair.findText = DecodeCellText(findCell);
    pair.replacementText = DecodeCellText(replacementCell);

    const DisplayCharset &charset = DisplayCharsetOrDefault(pair.options.displayCharset);
    const std::optional<QString> find = searchedText(pair.findText, charset, encoding);
    const std::optional<QString> replacement =
        searchedText(pair.replacementText, charset, encoding);
    if (!find || !replacement)
        return pair;
    pair.replacementBytes = EncodeReplacement(*replacement, encoding);

    QString text = *find;
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    if (pair.options.normalizes())
        text = NormalizeWhiteSpace(text, pair.whiteSpace);
    else if (pair.options.ignoresWhiteSpace())
        text = RemoveWhiteSpace(text, pair.whiteSpace);

    // The text is folded character by character exactly as the file's
    // characters are, so every character matches itself without case
    // sensitivity.
    const bool fold = !pair.options.caseSensitive;
    const std::u32string characters = text.toStdU32String();
    for (char32_t c : characters) {
        pair.pattern.push_back(fold ? CodePage::characterUpper(c) : c);
        pair.kinds.push_back(kindOf(c, pair.options));
    }
    pair.shownPattern = QString::fromStdU32String(pair.pattern);
    return pair;
}
