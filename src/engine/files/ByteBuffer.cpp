#include "engine/files/ByteBuffer.h"

#include "engine/files/BlockRecycler.h"

#include <cstdlib>
#include <utility>

namespace {
qint64 g_allocationLimit = ByteBuffer::MaxSize;
}

ByteBuffer::~ByteBuffer()
{
    release();
}

ByteBuffer::ByteBuffer(ByteBuffer &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_length(std::exchange(other.m_length, 0))
{
}

ByteBuffer &ByteBuffer::operator=(ByteBuffer &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_length = std::exchange(other.m_length, 0);
    }
    return *this;
}

bool ByteBuffer::allocate(qint64 capacity)
{
    release();
    if (capacity <= 0 || capacity > g_allocationLimit)
        return false;
    qint64 kept = 0;
    if ((m_data = BlockRecycler::take(capacity, kept))) {
        m_capacity = kept;
        return true;
    }
    m_data = static_cast<char *>(std::malloc(size_t(capacity)));
    if (!m_data)
        return false;
    m_capacity = capacity;
    return true;
}

bool ByteBuffer::resize(qint64 capacity)
{
    if (capacity <= 0 || capacity > g_allocationLimit)
        return false;
    char *grown = static_cast<char *>(std::realloc(m_data, size_t(capacity)));
    if (!grown)
        return false;
    m_data = grown;
    m_capacity = capacity;
    if (m_length > capacity)
        m_length = capacity;
    return true;
}

void ByteBuffer::release()
{
    BlockRecycler::give(m_data, m_capacity);
    m_data = nullptr;
    m_capacity = 0;
    m_length = 0;
}

void ByteBuffer::setAllocationLimit(qint64 limit)
{
    g_allocationLimit = limit < 0 ? MaxSize : qMin(limit, MaxSize);
}

qint64 ByteBuffer::allocationLimit()
{
    return g_allocationLimit;
}
