// The replacement text of a regular-expression pair: any text splits into
// pieces without harm, none empty and no two literal pieces in a row; the
// pieces written back in the braced forms read back the same; a text whose
// every "$" is doubled is one literal piece. The same text as a pattern: the
// required literal and the compiled pair are made without harm.
#include "engine/match/RegexPair.h"
#include "engine/match/ReplacementTemplate.h"
#include "engine/match/RequiredLiteral.h"

#include <cstdint>
#include <cstdlib>

namespace {

QString written(const QList<ReplacementPiece> &pieces)
{
    QString text;
    for (const ReplacementPiece &piece : pieces) {
        if (piece.isLiteral())
            text += QString(piece.literal).replace(u'$', QLatin1String("$$"));
        else if (!piece.name.isEmpty())
            text += QLatin1String("${") + piece.name + u'}';
        else
            text += QLatin1String("${") + QString::number(piece.group) + u'}';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<ReplacementPiece> pieces = ParseReplacementTemplate(text);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (pieces[i].isLiteral() && pieces[i].literal.isEmpty())
            std::abort();
        if (i > 0 && pieces[i].isLiteral() && pieces[i - 1].isLiteral())
            std::abort();
    }
    if (ParseReplacementTemplate(written(pieces)) != pieces)
        std::abort();
    const QList<ReplacementPiece> escaped =
        ParseReplacementTemplate(QString(text).replace(u'$', QLatin1String("$$")));
    if (text.isEmpty() ? !escaped.isEmpty()
                       : escaped.size() != 1 || escaped[0].literal != text)
        std::abort();

    (void)RequiredLiteral(text, true);
    (void)RequiredLiteral(text, false);
    (void)CompileRegexPair(text, text, false);
    return 0;
}
