#pragma once

#include <QtGlobal>
#include <array>

// Finds the next byte that belongs to a set. A set of a few bytes is searched
// with memchr, one byte value at a time, remembering where each was last seen;
// a larger set byte by byte through a table.
//
// find() must be called with start positions that never decrease.
class ByteSearch
{
public:
    using ByteSet = std::array<bool, 256>;

    ByteSearch(const char *data, qint64 length, const ByteSet &set);

    // The first position in [from, end) whose byte is in the set, else end.
    qint64 find(qint64 from, qint64 end);

private:
    static constexpr int MaxMemchrBytes = 6;

    const unsigned char *m_bytes;
    qint64 m_length;
    ByteSet m_set;
    int m_count = 0;
    std::array<unsigned char, MaxMemchrBytes> m_values{};
    std::array<qint64, MaxMemchrBytes> m_next{};
};
