#include "settings/CellText.h"

namespace {

struct Token {
    char16_t character;
    const char16_t *text;
    int length;
};

// Tried in this order, both ways. No token starts with "{{", so the escaped
// brace "{{}" is never read as the start of another token.
constexpr Token tokens[] = {
    {u'\t', u"{TAB}", 5},
    {u'\n', u"{LF}", 4},
    {u'\r', u"{CR}", 4},
    {u'{', u"{{}", 3},
};

} // namespace

QString EncodeCellText(const QString &plain)
{
    QString out;
    out.reserve(plain.size());
    for (QChar c : plain) {
        const Token *hit = nullptr;
        for (const Token &t : tokens)
            if (t.character == c) {
                hit = &t;
                break;
            }
        if (hit)
            out.append(QStringView(hit->text, hit->length));
        else
            out.append(c);
    }
    return out;
}

QString DecodeCellText(const QString &cell)
{
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size();) {
        const Token *hit = nullptr;
        if (cell[i] == u'{') {
            for (const Token &t : tokens)
                if (QStringView(cell).mid(i, t.length) == QStringView(t.text, t.length)) {
                    hit = &t;
                    break;
                }
        }
        if (hit) {
            out.append(QChar(hit->character));
            i += hit->length;
        } else {
            out.append(cell[i]);
            ++i;
        }
    }
    return out;
}
