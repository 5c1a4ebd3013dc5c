#include "engine/text/UnitReader.h"

UnitReader::UnitReader(const char *data, qint64 length, int encoding, bool caseSensitive)
    : m_data(data),
      m_bytes(reinterpret_cast<const unsigned char *>(data)),
      m_length(length),
      m_encoding(encoding),
      m_caseSensitive(caseSensitive)
{
    for (size_t byte = 0; byte < m_byteUnits.size(); ++byte) {
        const char16_t unit = encoding == EncodingAnsi ? CodePage::toUnicode(uchar(byte))
                                                       : char16_t(byte);
        m_byteUnits[byte] = fold(unit);
    }
}
