#include "engine/PathHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(PathHelpers, ZeroPad)
{
    const struct {
        qint64 number;
        int width;
        const char *expected;
    } cases[] = {
        {1, 3, "001"}, {42, 3, "042"}, {999, 3, "999"}, {1234, 3, "1234"}, {0, 3, "000"},
        {7, 0, "7"},   {7, 1, "7"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ZeroPad(c.number, c.width), QString::fromLatin1(c.expected))
            << c.number << " width " << c.width;
}

TEST(PathHelpers, IsValidFolderName)
{
    const struct {
        QString name;
        bool valid;
    } cases[] = {
        {"_BACKUP_", true},
        {"back up 2", true},
        {QStringLiteral(u"Sicherung-ä"), true},
        {"a.b", true},
        {"", false},
        {".backup", false},
        {"back\\up", false},
        {"back/up", false},
        {"a\"b", false},
        {"a*b", false},
        {"a:b", false},
        {"a<b", false},
        {"a>b", false},
        {"a?b", false},
        {"a|b", false},
        {"tab\there", false},
        {QString(QChar(31)), false},
        {QString(QChar(0)) + "x", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidFolderName(c.name), c.valid) << c.name.toStdString();
}

TEST(PathHelpers, TrailingSeparator)
{
    const struct {
        const char *path;
        const char *with;
        const char *without;
    } cases[] = {
        {"", "", ""},
        {"/", "/", "/"},
        {"/a", "/a/", "/a"},
        {"/a/", "/a/", "/a"},
        {"a", "a/", "a"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(WithTrailingBackslash(c.path), QString(c.with)) << c.path;
        EXPECT_EQ(WithoutTrailingBackslash(c.path), QString(c.without)) << c.path;
    }
}

} // namespace
