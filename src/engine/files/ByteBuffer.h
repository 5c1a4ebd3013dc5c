#pragma once

#include <QtGlobal>
#include <limits>

// A file's bytes in one block of memory. Allocation never throws: a failure
// (no memory, or a size the 32-bit positions of the design cannot address) is
// reported as false, and the callers take their out-of-memory path.
class ByteBuffer
{
public:
    // The largest block ever handed out: positions and sizes stay within a
    // signed 32-bit count.
    static constexpr qint64 MaxSize = std::numeric_limits<qint32>::max();

    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(ByteBuffer &&other) noexcept;
    ByteBuffer &operator=(ByteBuffer &&other) noexcept;
    ByteBuffer(const ByteBuffer &) = delete;
    ByteBuffer &operator=(const ByteBuffer &) = delete;

    // A new block of `capacity` bytes (contents undefined); the old block is
    // released. False, leaving the buffer empty, on failure.
    bool allocate(qint64 capacity);

    // Grows (or shrinks) the block to `capacity`, keeping its contents up to
    // the smaller of the two sizes. False, leaving the buffer as it was, on
    // failure.
    bool resize(qint64 capacity);

    void release();

    char *data() { return m_data; }
    const char *data() const { return m_data; }
    qint64 capacity() const { return m_capacity; }
    qint64 length() const { return m_length; }
    void setLength(qint64 length) { m_length = length; }
    bool isNull() const { return m_data == nullptr; }

    // Tests lower this to make allocations fail; a limit below zero restores
    // the default (MaxSize).
    static void setAllocationLimit(qint64 limit);
    static qint64 allocationLimit();

private:
    char *m_data = nullptr;
    qint64 m_capacity = 0;
    qint64 m_length = 0;
};
