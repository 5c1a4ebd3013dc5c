#include "settings/CellText.h"

namespace {

struct Token {
    char character;
    const char *text;
    int length;
};

// Tried in this order, both ways. No token starts with "{{", so the escaped
// brace "{{}" is never read as the start of another token.
constexpr Token tokens[] = {
    {'\t', "{TAB}", 5},
    {'\n', "{LF}", 4},
    {'\r', "{CR}", 4},
    {'{', "{{}", 3},
};

} // namespace

QByteArray EncodeCellText(const QByteArray &plain)
{
    QByteArray out;
    out.reserve(plain.size());
    for (char c : plain) {
        const Token *hit = nullptr;
        for (const Token &t : tokens)
            if (t.character == c) {
                hit = &t;
                break;
            }
        if (hit)
            out.append(hit->text, hit->length);
        else
            out.append(c);
    }
    return out;
}

QByteArray DecodeCellText(const QByteArray &cell)
{
    QByteArray out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size();) {
        const Token *hit = nullptr;
        if (cell[i] == '{') {
            for (const Token &t : tokens)
                if (cell.mid(i, t.length) == QByteArrayView(t.text, t.length)) {
                    hit = &t;
                    break;
                }
        }
        if (hit) {
            out.append(hit->character);
            i += hit->length;
        } else {
            out.append(cell[i]);
            ++i;
        }
    }
    return out;
}
