#include "engine/journal/BackgroundSync.h"

#include <unistd.h>

BackgroundSync::BackgroundSync(int descriptor)
    : m_descriptor(descriptor), m_thread([this] { work(); })
{
}

BackgroundSync::~BackgroundSync()
{
    flush();
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundSync::request()
{
    {
        const std::lock_guard lock(m_mutex);
        ++m_requested;
    }
    m_changed.notify_all();
}

bool BackgroundSync::flush()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done == m_requested; });
    return !m_failed;
}

bool BackgroundSync::failed()
{
    const std::lock_guard lock(m_mutex);
    return m_failed;
}

void BackgroundSync::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || m_done != m_requested; });
        if (m_done == m_requested)
            return;
        // Everything requested by now is written: one flush covers it all.
        const std::uint64_t covered = m_requested;
        lock.unlock();
        const bool synced = ::fdatasync(m_descriptor) == 0;
        lock.lock();
        m_failed = m_failed || !synced;
        m_done = covered;
        m_changed.notify_all();
    }
}
