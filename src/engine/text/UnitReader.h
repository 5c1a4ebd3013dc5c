#pragma once

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

#include <QtGlobal>
#include <array>

// Reads the characters of a buffer one at a time as UTF-16 code units, folded
// to upper case unless the scan is case sensitive. Reads exactly as DecodeUnit
// does; ANSI bytes and ASCII in UTF-8 go through a table of folded units.
class UnitReader
{
public:
    UnitReader(const char *data, qint64 length, int encoding, bool caseSensitive);

    // Reads the character at pos (< length) and moves pos past it. False,
    // leaving pos, when no character starts there (the unpaired last byte of
    // UTF-16 text).
    bool read(qint64 &pos, char16_t &unit) const
    {
        const unsigned char lead = m_bytes[pos];
        if (m_encoding == EncodingAnsi || (m_encoding == EncodingUtf8 && lead < 0x80)) {
            unit = m_byteUnits[lead];
            ++pos;
            return true;
        }
        if (!DecodeUnit(m_data, pos, m_length, m_encoding, unit))
            return false;
        unit = fold(unit);
        return true;
    }

    char16_t fold(char16_t unit) const
    {
        return m_caseSensitive ? unit : CodePage::unitUpper(unit);
    }

    int encoding() const { return m_encoding; }
    bool caseSensitive() const { return m_caseSensitive; }

private:
    const char *m_data;
    const unsigned char *m_bytes;
    qint64 m_length;
    int m_encoding;
    bool m_caseSensitive;
    // ANSI: the folded unit of every byte; UTF-8: of every ASCII byte.
    std::array<char16_t, 256> m_byteUnits;
};
