#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Windows-1252, the system's ANSI code page: the spelling of job texts in
// settings files of the ANSI versions and of ANSI files.

// The code units of the bytes 0x80 to 0x9F; every other byte is its own unit.
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to U+0081 ... U+009D.
inline constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline char16_t AnsiUnit(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte);
}

// The byte of a unit, or nothing when Windows-1252 lacks it.
std::optional<unsigned char> AnsiByte(char16_t unit);

// Every byte is one character, so every byte string reads and spells back whole.
QString AnsiToText(const QByteArray &ansi);

// Nothing when some character has no Windows-1252 spelling.
std::optional<QByteArray> TextToAnsi(const QString &text);
