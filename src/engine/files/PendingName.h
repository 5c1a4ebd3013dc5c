#pragma once

#include <QByteArray>
#include <sys/types.h>

// A temporary file's name that must not outlive the process: the new content
// of a file is linked into its folder just before it is renamed over the
// target, and a kill between those two calls would leave it there. The first
// name armed starts a small watcher process that waits for this process to
// end, however it ends, and then removes every name still armed, provided it
// still names the same file (device and inode). Any thread may arm names; when
// the watcher cannot be had, names are simply not guarded.
class PendingName
{
public:
    PendingName() = default;
    ~PendingName() { disarm(); }
    PendingName(const PendingName &) = delete;
    PendingName &operator=(const PendingName &) = delete;

    // The file `path` (device and inode as given) is to go should the
    // process die before disarm().
    void arm(const QByteArray &path, dev_t device, ino_t inode);
    void disarm();

    // Starts the watcher now, if it is not running yet. Starting it copies
    // the process, and every page that existed then costs a copy when it is
    // next written to: a program that may write starts it as early as it
    // can, a run at the latest before it allocates its buffers.
    static void startWatcher();

private:
    int m_slot = -1;
};
