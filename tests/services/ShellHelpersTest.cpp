#include "services/ProgramInfo.h"
#include "services/ShellFolders.h"
#include "services/ShortenPath.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

TEST(ShortenPath, KeepsTheNameAndAsMuchOfTheFolderEndAsFits)
{
    const QString path = "/Very/Long/Folder/Names/Here/settings.ini"; // 41 characters
    const struct {
        int maximum;
        QString expected;
    } cases[] = {
        {255, path},
        {41, path},
        {40, "/.../Long/Folder/Names/Here/settings.ini"},
        {17, "/.../settings.ini"},
        {16, "/...settings.ini"},
        {15, "settings.ini"},
        {12, "settings.ini"},
        {11, "settings"}, // below the bare name + 4: no extension
        {0, "settings"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShortenPath(path, c.maximum), c.expected) << c.maximum;

    EXPECT_EQ(ShortenPath("/a/settings.ini", 11), "/a/settings");
    EXPECT_EQ(ShortenPath("/jobs/.hidden", 7), ".hidden");
    EXPECT_EQ(ShortenPath("job.tar.gz", 5), "job.tar");
}

TEST(ShellFolders, FoldersEndInOneSlash)
{
    QStandardPaths::setTestModeEnabled(true);
    for (const QString &folder : {DesktopFolder(), AppDataFolder(false), AppDataFolder(true)}) {
        ASSERT_FALSE(folder.isEmpty());
        EXPECT_TRUE(folder.endsWith('/')) << folder.toStdString();
        EXPECT_FALSE(folder.endsWith("//")) << folder.toStdString();
    }
    EXPECT_NE(AppDataFolder(false), AppDataFolder(true));
}

TEST(ProgramInfo, VersionAndProductKey)
{
    EXPECT_EQ((FileVersion{2, 8, 0, 17}).toString(), "2.8.0.17");
    EXPECT_EQ(ProductKey(), "Sarvonex" + QString::number(ProgramVersion().major));
    EXPECT_EQ(ProgramName(), "ShellHelpersTest");
    EXPECT_TRUE(ProgramFolder().endsWith("/tests/"));

    // The window program is told which program the user ran.
    qputenv(ProgramFileVariable, "/opt/sarvonex/bin/sarvonex");
    EXPECT_EQ(ProgramName(), "sarvonex");
    EXPECT_EQ(ProgramFolder(), "/opt/sarvonex/bin/");
    qunsetenv(ProgramFileVariable);
}

} // namespace
