#include "engine/files/PendingName.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

// In a child process: arms a guard for `path` (as the file it is now), then
// ends as `end` says. The watcher the child started outlives it for a moment.
void inChild(const QByteArray &path, const std::function<void(PendingName &)> &end)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct stat info {};
        ::stat(path.constData(), &info);
        PendingName name;
        name.arm(path, info.st_dev, info.st_ino);
        end(name);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

bool goneWithin(const QByteArray &path, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (::access(path.constData(), F_OK) != 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(PendingName, ANameArmedWhenTheProcessIsKilledIsRemoved)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(".svx-pending"));
    TestFiles::write(dir.filePath(".svx-pending"), "new content");
    inChild(path, [](PendingName &) { ::raise(SIGKILL); });
    EXPECT_TRUE(goneWithin(path, std::chrono::seconds(5)));
}

TEST(PendingName, ADisarmedNameOrAnotherFileUnderItStays)
{
    QTemporaryDir dir;
    const QString disarmed = dir.filePath(".svx-disarmed");
    TestFiles::write(disarmed, "kept");
    inChild(QFile::encodeName(disarmed), [](PendingName &name) {
        name.disarm();
        ::raise(SIGKILL);
    });

    // The name was given to another file before the process died.
    const QString replaced = dir.filePath(".svx-replaced");
    TestFiles::write(replaced, "first");
    inChild(QFile::encodeName(replaced), [&](PendingName &) {
        TestFiles::write(replaced + ".new", "second");
        ::rename(QFile::encodeName(replaced + ".new").constData(),
                 QFile::encodeName(replaced).constData());
        ::raise(SIGKILL);
    });

    // Give the watchers the time they would need to act.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(TestFiles::read(disarmed), "kept");
    EXPECT_EQ(TestFiles::read(replaced), "second");
}

} // namespace
