#include "engine/files/SafeFileWriter.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

struct stat statOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info;
}

FileIdentity identityOf(const QString &path)
{
    return FileIdentity::of(statOf(path));
}

void setModificationTime(const QString &path, time_t seconds, long nanoseconds)
{
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

QStringList temporaryLeftovers(const QString &folder)
{
    return QDir(folder).entryList({".svx-*"}, QDir::Files | QDir::Hidden | QDir::System);
}

class SafeFileWriterTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString file = dir.filePath("notes.txt");
    const QByteArray oldContent = "old content\n";
    const QByteArray newContent = "new and longer content\n";

    void SetUp() override { TestFiles::write(file, oldContent); }

    WriteOutcome writeNew(const QString &path, const FileIdentity &asRead, bool keepTime = true)
    {
        return writeFileSafely(path, newContent.constData(), newContent.size(), asRead, keepTime);
    }
};

TEST_F(SafeFileWriterTest, ReplacesContentKeepingModeOwnerAttributesAndExactTime)
{
    ::chmod(QFile::encodeName(file).constData(), 04750);
    const bool mayChown = ::chown(QFile::encodeName(file).constData(), 1, 1) == 0;
    const bool hasAttributes =
        ::setxattr(QFile::encodeName(file).constData(), "user.origin", "kept", 4, 0) == 0;
    setModificationTime(file, 1'000'000'000, 123'456'789);
    const struct stat before = statOf(file);

    ASSERT_EQ(writeNew(file, FileIdentity::of(before)), WriteOutcome::Written);

    const struct stat after = statOf(file);
    EXPECT_EQ(TestFiles::read(file), newContent);
    EXPECT_NE(after.st_ino, before.st_ino) << "written through a renamed temporary file";
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_mtim.tv_sec, 1'000'000'000);
    EXPECT_EQ(after.st_mtim.tv_nsec, 123'456'789);
    if (mayChown) {
        EXPECT_EQ(after.st_uid, uid_t(1));
        EXPECT_EQ(after.st_gid, gid_t(1));
    }
    if (hasAttributes) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(QFile::encodeName(file).constData(), "user.origin", value, 8), 4);
        EXPECT_STREQ(value, "kept");
    }
    EXPECT_TRUE(temporaryLeftovers(dir.path()).isEmpty());
}

TEST_F(SafeFileWriterTest, TimeStampIsNewWhenNotKept)
{
    setModificationTime(file, 1'000'000'000, 0);
    ASSERT_EQ(writeNew(file, identityOf(file), false), WriteOutcome::Written);
    EXPECT_GT(statOf(file).st_mtim.tv_sec, 1'000'000'000);
}

TEST_F(SafeFileWriterTest, SymbolicLinkStaysAndItsTargetIsReplaced)
{
    const QString link = dir.filePath("link.txt");
    ASSERT_TRUE(QFile::link(file, link));

    ASSERT_EQ(writeNew(link, identityOf(link)), WriteOutcome::Written);

    EXPECT_EQ(QFileInfo(link).symLinkTarget(), file);
    EXPECT_EQ(TestFiles::read(file), newContent);
    EXPECT_TRUE(temporaryLeftovers(dir.path()).isEmpty());
}

TEST_F(SafeFileWriterTest, HardLinkedFileIsWrittenInPlaceSoEveryLinkSeesIt)
{
    const QString other = dir.filePath("other-name.txt");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
    const struct stat before = statOf(file);

    ASSERT_EQ(writeNew(file, FileIdentity::of(before)), WriteOutcome::Written);

    EXPECT_EQ(statOf(file).st_ino, before.st_ino);
    EXPECT_EQ(statOf(file).st_nlink, nlink_t(2));
    EXPECT_EQ(TestFiles::read(other), newContent);
}

TEST_F(SafeFileWriterTest, IsToldBeforeTheReplacementTheIdentityTheFileThenHas)
{
    // The undo trusts this identity: it must be the file's after the write,
    // by rename and in place, with the time kept or new.
    for (const bool hardLinked : {false, true}) {
        for (const bool keepTime : {false, true}) {
            SCOPED_TRACE(testing::Message() << "hard-linked " << hardLinked << ", keep time " << keepTime);
            TestFiles::write(file, oldContent);
            setModificationTime(file, 1'000'000'000, 0);
            const QString other = dir.filePath("other-name.txt");
            QFile::remove(other);
            if (hardLinked) {
                ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()),
                          0);
            }
            std::optional<FileIdentity> told;
            const auto record = [&](const FileIdentity &written) {
                EXPECT_EQ(TestFiles::read(file), oldContent);
                // Should the process die from here on, an in-place write
                // leaves the user an exact copy of the original.
                if (hardLinked) {
                    const QStringList copies = temporaryLeftovers(dir.path());
                    EXPECT_EQ(copies.size(), 1);
                    if (!copies.isEmpty()) {
                        EXPECT_EQ(TestFiles::read(dir.filePath(copies.first())), oldContent);
                    }
                }
                told = written;
            };

            ASSERT_EQ(writeFileSafely(file, newContent.constData(), newContent.size(), identityOf(file),
                                      keepTime, nullptr, nullptr, record),
                      WriteOutcome::Written);

            ASSERT_TRUE(told);
            EXPECT_TRUE(told->matches(statOf(file)));
        }
    }
}

TEST_F(SafeFileWriterTest, FileChangedByAnotherProgramIsNotOverwritten)
{
    const struct {
        const char *what;
        std::function<void(const QString &)> change;
        bool exists;
    } cases[] = {
        {"same size, new time",
         [](const QString &p) {
             TestFiles::write(p, "OLD CONTENT\n");
             setModificationTime(p, 2'000'000'000, 1);
         },
         true},
        {"new size", [](const QString &p) { TestFiles::write(p, "other program's text\n"); }, true},
        {"replaced by a new file",
         [](const QString &p) {
             const QString fresh = p + ".fresh";
             TestFiles::write(fresh, "OLD CONTENT\n");
             QFile::remove(p);
             QFile::rename(fresh, p);
         },
         true},
        {"removed", [](const QString &p) { QFile::remove(p); }, false},
    };
    for (const auto &c : cases) {
        TestFiles::write(file, oldContent);
        setModificationTime(file, 1'000'000'000, 0);
        const FileIdentity asRead = identityOf(file);
        c.change(file);
        const QByteArray changed = c.exists ? TestFiles::read(file) : QByteArray();

        EXPECT_EQ(writeNew(file, asRead), WriteOutcome::ChangedOnDisk) << c.what;
        EXPECT_EQ(QFile::exists(file), c.exists) << c.what;
        if (c.exists) {
            EXPECT_EQ(TestFiles::read(file), changed) << c.what;
        }
        EXPECT_TRUE(temporaryLeftovers(dir.path()).isEmpty()) << c.what;
    }
}

TEST_F(SafeFileWriterTest, FailedWriteLeavesTheOriginalAndNoTemporaryFile)
{
    const QByteArray big(256 * 1024, 'x');
    const FileIdentity asRead = identityOf(file);
    // The write of the temporary file fails half-way.
    EXPECT_TRUE(passesWithFileSizeLimit([&] {
        return writeFileSafely(file, big.constData(), big.size(), asRead, true)
            == WriteOutcome::Failed;
    })) << "the write must report the failure";
    EXPECT_EQ(TestFiles::read(file), oldContent);
    EXPECT_TRUE(temporaryLeftovers(dir.path()).isEmpty());
}

// A write that cannot complete (a file-size limit here, a full disk alike)
// leaves the original whole in every way of writing: through the renamed
// temporary file, and in place for a hard-linked file, whose room is
// reserved before a byte changes. No temporary file or kept copy stays.
TEST_F(SafeFileWriterTest, WriteBeyondTheSizeLimitLeavesTheOriginalWhole)
{
    // The limit is 1 KiB. A shorter new content over a longer original needs
    // no more room, but is still cut off by the limit inside the file.
    const struct {
        const char *what;
        qsizetype originalSize;
        qsizetype newSize;
        bool hardLinked;
    } cases[] = {
        {"renamed temporary file", 800, 4096, false},
        {"in place, growing", 800, 4096, true},
        {"in place, shrinking", 3000, 2000, true},
    };
    for (const auto &c : cases) {
        const QByteArray original(c.originalSize, 'o');
        const QByteArray content(c.newSize, 'x');
        TestFiles::write(file, original);
        const QString other = dir.filePath("other-name.txt");
        QFile::remove(other);
        if (c.hardLinked) {
            ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                             QFile::encodeName(other).constData()),
                      0);
        }
        const FileIdentity asRead = identityOf(file);
        EXPECT_TRUE(passesWithFileSizeLimit([&] {
            return writeFileSafely(file, content.constData(), content.size(), asRead, true)
                == WriteOutcome::Failed;
        })) << c.what;
        EXPECT_EQ(TestFiles::read(file), original) << c.what;
        EXPECT_TRUE(temporaryLeftovers(dir.path()).isEmpty()) << c.what;
    }
}

} // namespace
