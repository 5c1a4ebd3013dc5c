#pragma once

#include <QByteArray>
#include <QString>

// The system's single-byte ANSI code page (Windows-1252) and the case services
// built on it. Everything that turns job texts or ANSI file bytes into UTF-16
// and back, or changes their case, goes through here, so another single-byte
// code page could be plugged in at this one place.
namespace CodePage {

// Every byte maps to one code unit; the five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 ... U+009D.
char16_t toUnicode(unsigned char byte);

// A unit the code page lacks becomes '?'.
unsigned char fromUnicode(char16_t unit);

QString toQString(const QByteArray &ansi);
QByteArray fromQString(const QString &text);

// ANSI upper case of a byte: its Unicode simple upper case when that is again
// a Windows-1252 character, else the byte unchanged (so 0xFF becomes 0x9F,
// while µ and ß stay).
unsigned char ansiUpper(unsigned char byte);
QByteArray ansiUpper(const QByteArray &text);

// Unicode simple case mapping of one UTF-16 code unit (surrogates unchanged),
// from 64 K-entry tables built once.
char16_t unitUpper(char16_t unit);
char16_t unitLower(char16_t unit);

// A word character for the whole-word test: a letter of any script, a digit
// "0" to "9", or "_".
bool isWordUnit(char16_t unit);

} // namespace CodePage
