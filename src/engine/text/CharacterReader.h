#pragma once

#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

#include <QtGlobal>
#include <array>

// Reads the characters of a buffer one at a time as code points, folded to
// upper case unless the scan is case sensitive. Reads exactly as
// DecodeCharacter does; ANSI bytes and ASCII in UTF-8 go through a table of
// folded characters.
class CharacterReader
{
public:
    CharacterReader(const char *data, qint64 length, int encoding, bool caseSensitive);

    // Reads the character at pos (< length) and moves pos past it. False,
    // leaving pos, when no character starts there (the unpaired last byte of
    // UTF-16 text).
    bool read(qint64 &pos, char32_t &character) const
    {
        const unsigned char lead = m_bytes[pos];
        if (m_encoding == EncodingAnsi || (m_encoding == EncodingUtf8 && lead < 0x80)) {
            character = m_byteCharacters[lead];
            ++pos;
            return true;
        }
        if (!DecodeCharacter(m_data, pos, m_length, m_encoding, character))
            return false;
        character = fold(character);
        return true;
    }

    char32_t fold(char32_t character) const
    {
        return m_caseSensitive ? character : CodePage::characterUpper(character);
    }

    int encoding() const { return m_encoding; }
    bool caseSensitive() const { return m_caseSensitive; }

private:
    const char *m_data;
    const unsigned char *m_bytes;
    qint64 m_length;
    int m_encoding;
    bool m_caseSensitive;
    // ANSI: the folded character of every byte; UTF-8: of every ASCII byte.
    std::array<char32_t, 256> m_byteCharacters;
};
