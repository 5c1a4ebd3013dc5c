#include "engine/text/CodePage.h"

#include <QChar>

namespace CodePage {

namespace Tables {
char16_t upper[0x10000];
char16_t lower[0x10000];
unsigned char ansiUpperBytes[256];
} // namespace Tables

namespace {

constexpr unsigned char replacementByte = '?';

// Unicode's simple mappings can leave the 16-bit range (none do today); such a
// unit keeps its own case, as a surrogate does.
char16_t withinUnit(char32_t mapped, char16_t unit)
{
    return mapped <= 0xFFFF ? char16_t(mapped) : unit;
}

unsigned char computeAnsiUpper(unsigned char byte)
{
    const char16_t unit = toUnicode(byte);
    const char16_t upperUnit = Tables::upper[unit];
    if (upperUnit == unit)
        return byte;
    const unsigned char upperByte = fromUnicode(upperUnit);
    return upperByte == replacementByte ? byte : upperByte;
}

// QChar keeps a unit unchanged when its full case mapping takes several
// units (İ lower-cases to "i" and a combining dot); these are the units whose
// simple mapping differs from themselves there.
void restoreSimpleMappings()
{
    Tables::lower[0x0130] = u'i';
    // Greek vowels with ypogegrammeni upper-case to the prosgegrammeni forms.
    for (char16_t block : {0x1F80, 0x1F90, 0x1FA0})
        for (char16_t i = 0; i < 8; ++i)
            Tables::upper[block + i] = char16_t(block + 8 + i);
    for (char16_t unit : {0x1FB3, 0x1FC3, 0x1FF3})
        Tables::upper[unit] = char16_t(unit + 9);
}

struct TableBuilder {
    TableBuilder()
    {
        for (char32_t u = 0; u < 0x10000; ++u) {
            const char16_t unit = char16_t(u);
            const bool surrogate = QChar::isSurrogate(u);
            Tables::upper[u] = surrogate ? unit : withinUnit(QChar::toUpper(u), unit);
            Tables::lower[u] = surrogate ? unit : withinUnit(QChar::toLower(u), unit);
        }
        restoreSimpleMappings();
        for (int byte = 0; byte < 256; ++byte)
            Tables::ansiUpperBytes[byte] = computeAnsiUpper(static_cast<unsigned char>(byte));
    }
};

const TableBuilder tableBuilder;

} // namespace

unsigned char fromUnicode(char16_t unit)
{
    return AnsiByte(unit).value_or(replacementByte);
}

QString toQString(const QByteArray &ansi)
{
    return AnsiToText(ansi);
}

QByteArray fromQString(const QString &text)
{
    QByteArray ansi;
    ansi.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ansi.append(char(replacementByte));
            ++i;
        } else {
            ansi.append(char(fromUnicode(c.unicode())));
        }
    }
    return ansi;
}

QByteArray ansiUpper(const QByteArray &text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        result[i] = char(ansiUpper(static_cast<unsigned char>(text[i])));
    return result;
}

char32_t astralUpper(char32_t c)
{
    return c <= QChar::LastValidCodePoint ? QChar::toUpper(c) : c;
}

bool isWordCharacter(char32_t c)
{
    return (c >= U'0' && c <= U'9') || c == U'_' || (c <= QChar::LastValidCodePoint && QChar::isLetter(c));
}

} // namespace CodePage
