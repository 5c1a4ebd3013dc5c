#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Flushes a file's appended data to disk on a thread of its own, joining the
// requests that come while a flush is under way: a writer that appends often
// does not wait for the disk each time, and every append is on disk soon
// after, and surely once flush() returned.
class BackgroundSync
{
public:
    explicit BackgroundSync(int descriptor);
    ~BackgroundSync();
    BackgroundSync(const BackgroundSync &) = delete;
    BackgroundSync &operator=(const BackgroundSync &) = delete;

    // What was written so far is to reach the disk.
    void request();

    // Waits until everything requested is on disk; false when a flush failed.
    bool flush();

    // A flush failed.
    bool failed();

private:
    void work();

    const int m_descriptor;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_requested = 0;
    std::uint64_t m_done = 0;
    bool m_failed = false;
    bool m_stopping = false;
    std::thread m_thread;
};
