#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The display charsets of a string pair: the code page a pair is spelled in
// within ANSI files, and the one through which settings files of the ANSI
// versions store its find and replace texts.
struct DisplayCharset {
    const char *name;       // as stored between "[" and "]" of the options text
    int charsetNumber;      // the Windows font character set it stands for
    const char *codePage;   // glibc iconv name; null for the system's ANSI code page
};

// The 19 charsets in list order: a charset list's index is the table index.
inline constexpr int DisplayCharsetCount = 19;
extern const DisplayCharset DisplayCharsets[DisplayCharsetCount];

// The index of the charset named exactly `name`; -1 when none is.
int DisplayCharsetIndex(const QByteArray &name);

// The charset of `name`, or "Default" (Windows-1252) for a name not in the table.
const DisplayCharset &DisplayCharsetOrDefault(const QByteArray &name);

// A byte that spells no character of its charset (or one that would be spelled
// back otherwise) is kept in the text as the unit U+DC00 + byte without a high
// surrogate before it: a lone low surrogate, which no typed text holds and no
// Unicode file can match.
inline constexpr char16_t KeptByteBase = 0xDC00;
inline bool IsKeptByteAt(const QString &text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    return unit >= KeptByteBase && unit <= KeptByteBase + 0xFF
        && !(i > 0 && text[i - 1].isHighSurrogate());
}
bool HoldsKeptBytes(const QString &text);

// The text that `bytes` spell in the charset; spelling it again with
// EncodeInCharset gives the same bytes back, whatever they were.
QString DecodeInCharset(const QByteArray &bytes, const DisplayCharset &charset);

// The text's spelling in the charset (kept bytes return to their byte);
// nothing when some character has none, rather than a "?" the user did not type.
std::optional<QByteArray> EncodeInCharset(const QString &text, const DisplayCharset &charset);
