#include "settings/DisplayCharsets.h"

#include <gtest/gtest.h>

namespace {

struct Spelling {
    const char *charset;
    const char *text; // UTF-8
    QByteArray bytes;
};

class DisplayCharsetSpelling : public ::testing::TestWithParam<Spelling> {};

TEST_P(DisplayCharsetSpelling, TextIsSpelledInTheCharsetsCodePageAndReadBack)
{
    const Spelling &c = GetParam();
    const DisplayCharset &charset = DisplayCharsetOrDefault(c.charset);
    const std::optional<QByteArray> bytes = EncodeInCharset(QString::fromUtf8(c.text), charset);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, c.bytes);
    EXPECT_EQ(DecodeInCharset(*bytes, charset), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, DisplayCharsetSpelling,
    ::testing::Values(Spelling{"Russian", "Привет", QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2")},
                      Spelling{"Default", "café €", QByteArray("caf\xE9 \x80")},
                      Spelling{"Greek", "αβ", QByteArray("\xE1\xE2")},
                      Spelling{"ShiftJis", "日本", QByteArray("\x93\xFA\x96\x7B")},
                      Spelling{"Hangeul", "한국", QByteArray("\xC7\xD1\xB1\xB9")},
                      Spelling{"No such charset", "é", QByteArray("\xE9")}));

TEST(DisplayCharsets, ACharacterTheCodePageLacksHasNoSpellingRatherThanAQuestionMark)
{
    EXPECT_FALSE(EncodeInCharset(QString::fromUtf8("Привет"), DisplayCharsetOrDefault("Default")));
    EXPECT_FALSE(EncodeInCharset(QString::fromUtf8("é"), DisplayCharsetOrDefault("Russian")));
    EXPECT_FALSE(EncodeInCharset(QString::fromUtf8("🙂"), DisplayCharsetOrDefault("Default")));
}

// Every byte string reads as a text that spells it back, so a settings file
// keeps bytes a charset does not spell: an undefined byte, a cut double-byte
// character, a letter and accent the code page would combine.
TEST(DisplayCharsets, EveryByteStringSpellsBackWhole)
{
    const struct {
        const char *charset;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"Ansi", "\x81", QString(QChar(0x81))},
        {"Russian", "a\x98z", QStringLiteral("a") + QChar(0xDC98) + QStringLiteral("z")},
        {"ShiftJis", "\x93", QString(QChar(0xDC93))},
        {"ShiftJis", "\x93\xFA\x93", QString::fromUtf8("日") + QChar(0xDC93)},
        {"Vietnamese", "a\xEC", QStringLiteral("a") + QChar(0x0301)},
        {"Hebrew", "\xE0\xC8", QString::fromUtf8("א") + QChar(0x05B8)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.charset);
        const DisplayCharset &charset = DisplayCharsetOrDefault(c.charset);
        EXPECT_EQ(DecodeInCharset(c.bytes, charset), c.text);
        EXPECT_EQ(EncodeInCharset(c.text, charset), c.bytes);
    }
}

TEST(DisplayCharsets, TableOrderIsTheListOrder)
{
    EXPECT_EQ(DisplayCharsetIndex("Ansi"), 0);
    EXPECT_EQ(DisplayCharsetIndex("Default"), 4);
    EXPECT_EQ(DisplayCharsetIndex("Vietnamese"), 18);
    EXPECT_EQ(DisplayCharsetIndex("default"), -1);
}

} // namespace
