#pragma once

#include <QByteArray>
#include <QString>

// The system's single-byte ANSI code page (Windows-1252) and the case services
// built on it. Everything that turns job texts or ANSI file bytes into UTF-16
// and back, or changes their case, goes through here, so another single-byte
// code page could be plugged in at this one place.
//
// The per-character operations are inline table look-ups: the matcher calls
// them for every character of every file.
namespace CodePage {

namespace Tables {

// The code units of the bytes 0x80 to 0x9F; every other byte is its own unit.
inline constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Filled once, before main() runs, by an initialiser in CodePage.cpp; other
// static initialisers must not rely on them.
extern char16_t upper[0x10000];
extern char16_t lower[0x10000];
extern unsigned char ansiUpperBytes[256];

} // namespace Tables

// Every byte maps to one code unit; the five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 ... U+009D.
inline char16_t toUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Tables::windows1252High[byte - 0x80] : char16_t(byte);
}

// A unit the code page lacks becomes '?'.
unsigned char fromUnicode(char16_t unit);

QString toQString(const QByteArray &ansi);
// A surrogate pair is one character the code page lacks: one '?'.
QByteArray fromQString(const QString &text);

// ANSI upper case of a byte: its Unicode simple upper case when that is again
// a Windows-1252 character, else the byte unchanged (so 0xFF becomes 0x9F,
// while µ and ß stay).
inline unsigned char ansiUpper(unsigned char byte)
{
    return Tables::ansiUpperBytes[byte];
}
QByteArray ansiUpper(const QByteArray &text);

// Unicode simple case mapping of one UTF-16 code unit (surrogates unchanged),
// from 64 K-entry tables built once.
inline char16_t unitUpper(char16_t unit)
{
    return Tables::upper[unit];
}
inline char16_t unitLower(char16_t unit)
{
    return Tables::lower[unit];
}

// A word character for the whole-word test: a letter of any script, a digit
// "0" to "9", or "_".
bool isWordUnit(char16_t unit);

} // namespace CodePage
