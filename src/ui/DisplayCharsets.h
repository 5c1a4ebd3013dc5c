#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The display charsets of a string pair: the code page through which the
// dialogs show the pair's bytes and take typed text back. Only what the user
// sees and types goes through it; the stored bytes are never converted.
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

// The bytes as the charset shows them. Bytes the code page cannot decode
// show as U+FFFD.
QString DecodeForDisplay(const QByteArray &bytes, const DisplayCharset &charset);

// Typed text as bytes of the charset; nothing when some character has no
// spelling in its code page (the caller refuses the text rather than store a
// "?" the user did not type).
std::optional<QByteArray> EncodeFromDisplay(const QString &text, const DisplayCharset &charset);
