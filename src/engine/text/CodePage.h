#pragma once

#include "settings/AnsiText.h"

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
    return AnsiUnit(byte);
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

char32_t astralUpper(char32_t c);

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

// The simple upper case of any character: the table inside the Basic
// Multilingual Plane, Unicode's own mapping beyond it.
inline char32_t characterUpper(char32_t c)
{
    return c < 0x10000 ? Tables::upper[c] : astralUpper(c);
}

// A word character for the whole-word test: a letter of any script, a digit
// "0" to "9", or "_".
bool isWordCharacter(char32_t c);

} // namespace CodePage
