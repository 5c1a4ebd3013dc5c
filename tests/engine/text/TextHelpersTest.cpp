#include "engine/match/PreparedPair.h"
#include "engine/text/TextHelpers.h"
#include "support/AnsiText.h"

#include <gtest/gtest.h>

namespace {

TEST(TextHelpersTest, ShortenText)
{
    EXPECT_EQ(ShortenText("abcdef", 6), "abcdef");
    EXPECT_EQ(ShortenText("abcdefg", 6), "abc...");
    EXPECT_EQ(ShortenText("", 3), "");
}

TEST(TextHelpersTest, DisplaySafeText)
{
    const struct {
        QByteArray text;
        QByteArray shown;
    } cases[] = {
        {QByteArray("a\0b\x01\x08\x0B\x0C\x0E\x1F", 9), "a\xB7" "b\xB7\xB7\xB7\xB7\xB7\xB7"},
        {"tab\there", "tab\there"},
        {"a\nb\r\nc\rd\n\n", "a\r\nb\r\nc\rd\r\n\r\n"},
        {"\x7F\xA0\xFF", "\x7F\xA0\xFF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DisplaySafeText(Ansi(c.text)), Ansi(c.shown)) << c.text.toHex().data();
    // A byte its charset did not spell shows as the replacement character.
    EXPECT_EQ(DisplaySafeText(QStringLiteral("a") + QChar(0xDC98)),
              QStringLiteral("a") + QChar(QChar::ReplacementCharacter));
}

TEST(TextHelpersTest, WhiteSpaceHandling)
{
    const WhiteSpaceSet plain(false);
    const WhiteSpaceSet withLines(true);
    EXPECT_EQ(NormalizeWhiteSpace(Ansi("\t a  b\xA0\t"), plain), " a b ");
    EXPECT_EQ(NormalizeWhiteSpace("a\r\n b", plain), "a\r\n b");
    EXPECT_EQ(NormalizeWhiteSpace("a\r\n b", withLines), "a b");
    EXPECT_EQ(NormalizeWhiteSpace("", withLines), "");
    EXPECT_EQ(RemoveWhiteSpace(Ansi(" a\tb\xA0\r\n"), plain), "ab\r\n");
    EXPECT_EQ(RemoveWhiteSpace(Ansi(" a\tb\xA0\r\n"), withLines), "ab");
}

} // namespace
