#include "engine/text/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, BytesMapToWindows1252Units)
{
    const struct {
        unsigned char byte;
        char16_t unit;
    } cases[] = {
        {0x41, u'A'},   {0x00, 0x0000}, {0x7F, 0x007F}, {0x80, 0x20AC}, {0x8A, 0x0160},
        {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
        // The five bytes Windows-1252 leaves undefined pass through as C1 controls.
        {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.byte));
        EXPECT_EQ(CodePage::toUnicode(c.byte), c.unit);
        EXPECT_EQ(CodePage::fromUnicode(c.unit), c.byte);
    }
}

TEST(CodePage, EveryByteRoundTrips)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        EXPECT_EQ(CodePage::fromUnicode(CodePage::toUnicode(b)), b) << byte;
        all.append(char(byte));
    }
    const QString text = CodePage::toQString(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(CodePage::fromQString(text), all);
}

TEST(CodePage, UnitsTheCodePageLacksBecomeQuestionMarks)
{
    for (char16_t unit : {char16_t(0x0080), char16_t(0x009F), char16_t(0x0100), char16_t(0x0401),
                          char16_t(0x4E2D), char16_t(0xD800), char16_t(0xFFFD)}) {
        EXPECT_EQ(CodePage::fromUnicode(unit), '?') << int(unit);
    }
    // A character beyond the 16-bit range is one character: one '?'.
    EXPECT_EQ(CodePage::fromQString(QString::fromUtf8("a\xF0\x9F\x98\x80z")), "a?z");
    // An unpaired surrogate is a unit of its own.
    EXPECT_EQ(CodePage::fromQString(QString(QChar(0xDC00)) + QChar(0xD800)), "??");
}

TEST(CodePage, AnsiUpperStaysInsideTheCodePage)
{
    const struct {
        unsigned char byte;
        unsigned char upper;
    } cases[] = {
        {'a', 'A'},   {'z', 'Z'},   {'A', 'A'},   {'1', '1'},   {'?', '?'},
        {0xE9, 0xC9}, // é -> É
        {0xFF, 0x9F}, // ÿ -> Ÿ, which lies in 0x80..0x9F
        {0x9A, 0x8A}, // š -> Š
        {0x9C, 0x8C}, // œ -> Œ
        {0x9E, 0x8E}, // ž -> Ž
        {0xB5, 0xB5}, // µ: its upper case (Greek Mu) is not in the code page
        {0xDF, 0xDF}, // ß: no simple upper case
        {0xF7, 0xF7}, // ÷
        {0x81, 0x81}, // undefined byte
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.byte));
        EXPECT_EQ(CodePage::ansiUpper(c.byte), c.upper);
    }
    EXPECT_EQ(CodePage::ansiUpper(QByteArray("abc\xE9\xFF\xDF")), QByteArray("ABC\xC9\x9F\xDF"));
}

TEST(CodePage, UnitCaseUsesSimpleUnicodeMapping)
{
    const struct {
        char16_t unit;
        char16_t upper;
        char16_t lower;
    } cases[] = {
        {u'a', u'A', u'a'},
        {u'A', u'A', u'a'},
        {0x00E9, 0x00C9, 0x00E9}, // é
        {0x00FF, 0x0178, 0x00FF}, // ÿ leaves Latin-1 when upper-cased
        {0x0178, 0x0178, 0x00FF},
        {0x00DF, 0x00DF, 0x00DF}, // ß: full mapping "SS" is not simple
        {0x0451, 0x0401, 0x0451}, // Cyrillic ё
        {0x03C9, 0x03A9, 0x03C9}, // Greek omega
        {0x0131, u'I', 0x0131},   // dotless i
        {0x0130, 0x0130, u'i'},   // dotted capital I
        {0x01C5, 0x01C4, 0x01C6}, // title-case Dž
        // Units whose full mapping takes two units still have a simple one.
        {0x1F80, 0x1F88, 0x1F80}, // ᾀ
        {0x1F88, 0x1F88, 0x1F80},
        {0x1FF3, 0x1FFC, 0x1FF3}, // ῳ
        {0x4E2D, 0x4E2D, 0x4E2D},
        {0xD801, 0xD801, 0xD801}, // surrogates stay
        {0xDC28, 0xDC28, 0xDC28},
        {u'1', u'1', u'1'},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.unit));
        EXPECT_EQ(CodePage::unitUpper(c.unit), c.upper);
        EXPECT_EQ(CodePage::unitLower(c.unit), c.lower);
    }
}

TEST(CodePage, WordCharactersAreLettersDigitsAndUnderscore)
{
    const struct {
        char32_t unit;
        bool word;
    } cases[] = {
        {u'a', true},     {u'Z', true},    {u'0', true},     {u'9', true},
        {u'_', true},     {0x00DF, true},  // ß
        {0x00AA, true},   // ª, a letter of no case
        {0x0416, true},   // Cyrillic Ж
        {0x4E2D, true},   // CJK ideograph
        {u' ', false},    {u'-', false},   {u'.', false},    {u'\'', false},
        {u'\t', false},   {0x00B2, false}, // superscript two: a number, not "0".."9"
        {0x0660, false},  // Arabic-Indic zero
        {0x00D7, false},  // ×
        {0x00A0, false},  // no-break space
        {0x10400, true},  // Deseret capital long I
        {0x20000, true},  // CJK ideograph beyond the Basic Multilingual Plane
        {0x1F600, false}, // an emoji
        {0xD83D, false},  // a lone surrogate
    };
    for (const auto &c : cases)
        EXPECT_EQ(CodePage::isWordCharacter(c.unit), c.word) << int(c.unit);
}

} // namespace
