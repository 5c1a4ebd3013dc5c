#include "engine/text/CharacterReader.h"

CharacterReader::CharacterReader(const char *data, qint64 length, int encoding,
                                 bool caseSensitive)
    : m_data(data),
      m_bytes(reinterpret_cast<const unsigned char *>(data)),
      m_length(length),
      m_encoding(encoding),
      m_caseSensitive(caseSensitive)
{
    for (size_t byte = 0; byte < m_byteCharacters.size(); ++byte) {
        const char32_t c = encoding == EncodingAnsi ? CodePage::toUnicode(uchar(byte))
                                                    : char32_t(byte);
        m_byteCharacters[byte] = fold(c);
    }
}
