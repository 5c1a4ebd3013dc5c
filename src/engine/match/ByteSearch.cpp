#include "engine/match/ByteSearch.h"

#include <cstring>

ByteSearch::ByteSearch(const char *data, qint64 length, const ByteSet &set)
    : m_bytes(reinterpret_cast<const unsigned char *>(data)), m_length(length), m_set(set)
{
    for (int byte = 0; byte < 256; ++byte) {
        if (!set[byte])
            continue;
        if (m_count < MaxMemchrBytes)
            m_values[m_count] = static_cast<unsigned char>(byte);
        ++m_count;
    }
    m_next.fill(-1);
}

qint64 ByteSearch::find(qint64 from, qint64 end)
{
    if (m_count > MaxMemchrBytes) {
        while (from < end && !m_set[m_bytes[from]])
            ++from;
        return from;
    }
    qint64 first = end;
    for (int i = 0; i < m_count; ++i) {
        // A remembered position at or after `from` is still the first
        // occurrence there, since earlier searches started no later.
        if (m_next[i] < from) {
            const void *hit = std::memchr(m_bytes + from, m_values[i], size_t(m_length - from));
            m_next[i] = hit ? static_cast<const unsigned char *>(hit) - m_bytes : m_length;
        }
        first = qMin(first, m_next[i]);
    }
    return first;
}
