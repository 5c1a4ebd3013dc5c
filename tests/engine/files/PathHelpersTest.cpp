#include "engine/files/PathHelpers.h"
#include "engine/files/PosixFile.h"

#include <QFile>

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

TEST(NativePath, EveryByteNameComesBackAsItWas)
{
    const struct {
        QByteArray name;
        bool utf8;
    } cases[] = {
        {"/plain/notes.txt", true},
        {"/caf\xC3\xA9/\xE2\x82\xAC \xF0\x9F\x98\x80.txt", true},
        {"/caf\xE9.txt", false},         // Windows-1252 é
        {"/\xC0\xAF", false},            // overlong "/"
        {"/\xED\xA0\x80", false},        // an encoded surrogate
        {"/\xF4\x90\x80\x80", false},    // beyond U+10FFFF
        {"/cut\xE2\x82", false},          // sequence cut short at the end
        {"/\xE2\x82/x", false},           // cut short before a separator
        {"/\xFF\xFE\x80", false},
    };
    for (const auto &c : cases) {
        const QString text = pathFromNative(c.name);
        EXPECT_EQ(nativePath(text), c.name) << c.name.toHex().constData();
        EXPECT_EQ(text == QFile::decodeName(c.name), c.utf8) << c.name.toHex().constData();
        EXPECT_TRUE(text.startsWith(u'/')) << c.name.toHex().constData();
    }
    // A valid pair of surrogates is a character, not two escaped bytes.
    EXPECT_EQ(nativePath(QString::fromUtf8("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
}

} // namespace
