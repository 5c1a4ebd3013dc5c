#include "engine/text/Encodings.h"
#include "settings/DisplayCharsets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

QByteArray bytesOf(const std::string &s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

TEST(DetectCoding, MarksAndContentGuesses)
{
    const struct {
        const char *name;
        std::string bytes;
        int bomKind;
        int guess;
        int bomLength;
    } cases[] = {
        {"empty", ""s, EncodingNone, EncodingNone, 0},
        {"short 7-bit", "abcd"s, EncodingNone, EncodingNone, 0},
        {"short 8-bit", "\xE9t\xE9"s, EncodingNone, EncodingNone, 0},
        {"7-bit text", "hello"s, EncodingNone, EncodingAnsi, 0},
        {"UTF-8 letter", "caf\xC3\xA9s"s, EncodingNone, EncodingUtf8, 0},
        {"three-byte UTF-8", "x\xE2\x82\xACyz"s, EncodingNone, EncodingUtf8, 0},
        {"ANSI letter before ASCII", "caf\xE9s"s, EncodingNone, EncodingAnsi, 0},
        {"lead after lead", "ab\xC3\xC3\xA9" "d"s, EncodingNone, EncodingAnsi, 0},
        {"continuation after ASCII", "ab\xA9\xA9\xA9"s, EncodingNone, EncodingAnsi, 0},
        // The test is loose: the first byte is never judged, nor sequence lengths.
        {"leading continuation", "\xA9hello"s, EncodingNone, EncodingUtf8, 0},
        {"too many continuations", "a\xC3\xA9\xA9\xA9z"s, EncodingNone, EncodingUtf8, 0},
        {"cut off at the end", "abcd\xE2\x82"s, EncodingNone, EncodingUtf8, 0},
        {"UTF-16 LE", "a\0b\0c\0d\0"s, EncodingNone, EncodingUnicode, 0},
        {"UTF-16 BE", "\0a\0b\0c\0d"s, EncodingNone, EncodingUnicodeBigEndian, 0},
        {"short UTF-16 LE", "a\0b\0"s, EncodingNone, EncodingUnicode, 0},
        // Zero shares are divided by the whole size: 3 of 10 is not above 30%.
        {"30% odd zeros", "a\0b\0c\0defg"s, EncodingNone, EncodingAnsi, 0},
        {"40% odd zeros", "a\0b\0c\0d\0fg"s, EncodingNone, EncodingUnicode, 0},
        {"zeros on both sides", "a\0\0b\0\0c\0\0d"s, EncodingNone, EncodingAnsi, 0},
        {"UTF-8 mark alone", "\xEF\xBB\xBF"s, EncodingUtf8, EncodingNone, 3},
        {"UTF-8 mark", "\xEF\xBB\xBF" "caf\xC3\xA9"s, EncodingUtf8, EncodingUtf8, 3},
        {"UTF-8 mark, 7-bit", "\xEF\xBB\xBF" "abcd"s, EncodingUtf8, EncodingAnsi, 3},
        {"LE mark", "\xFF\xFE" "a\0b\0"s, EncodingUnicode, EncodingUnicode, 2},
        {"LE mark with zero unit", "\xFF\xFE\0\0"s, EncodingUnicode, EncodingNone, 2},
        {"LE mark alone", "\xFF\xFE"s, EncodingUnicode, EncodingNone, 2},
        {"BE mark", "\xFE\xFF\0a\0b"s, EncodingUnicodeBigEndian, EncodingUnicodeBigEndian, 2},
        {"BE mark, ANSI text", "\xFE\xFFhello"s, EncodingUnicodeBigEndian, EncodingAnsi, 2},
        {"mark cut short", "\xEF\xBB"s, EncodingNone, EncodingNone, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CodingDetection d = DetectCoding(c.bytes.data(), qint64(c.bytes.size()));
        EXPECT_EQ(d.bomKind, c.bomKind);
        EXPECT_EQ(d.contentGuess, c.guess);
        EXPECT_EQ(d.bomLength, c.bomLength);
    }
}

// 22 million zeros times 100 no longer fits in 32 bits.
TEST(DetectCoding, ZeroSharesOfHugeBuffersDoNotOverflow)
{
    std::vector<char> buffer(44'000'000, 0);
    for (size_t i = 0; i < buffer.size(); i += 2)
        buffer[i] = 'a';
    EXPECT_EQ(DetectCoding(buffer.data(), qint64(buffer.size())).contentGuess, EncodingUnicode);
}

TEST(HasNonPrintable, ControlCodesByEncoding)
{
    const struct {
        const char *name;
        std::string bytes;
        int encoding;
        bool expected;
    } cases[] = {
        {"ANSI text with tab and line ends", "a\tb\r\nc"s, EncodingAnsi, false},
        {"ANSI high bytes and DEL", "\x7F\x80\xFF\xFE"s, EncodingAnsi, false},
        {"ANSI zero", "ab\0"s, EncodingAnsi, true},
        {"ANSI 0x08", "\x08"s, EncodingAnsi, true},
        {"ANSI vertical tab", "\x0B"s, EncodingAnsi, true},
        {"ANSI form feed", "\x0C"s, EncodingAnsi, true},
        {"ANSI 0x0E", "\x0E"s, EncodingAnsi, true},
        {"ANSI 0x1F", "x\x1F"s, EncodingAnsi, true},
        {"ANSI space", " "s, EncodingAnsi, false},
        {"UTF-8 text", "\xEF\xBB\xBF" "caf\xC3\xA9\n"s, EncodingUtf8, false},
        {"UTF-8 escape", "a\x1B"s, EncodingUtf8, true},
        {"LE U+0001", "\xFF\xFE" "a\0\x01\0"s, EncodingUnicode, true},
        {"LE U+0101", "\xFF\xFE" "a\0\x01\x01"s, EncodingUnicode, false},
        {"LE U+0100", "\0\x01"s, EncodingUnicode, false},
        {"LE line ends", "\r\0\n\0\t\0"s, EncodingUnicode, false},
        {"LE unpaired last byte", "a\0\x01"s, EncodingUnicode, false},
        {"BE U+0001", "\xFE\xFF\0a\0\x01"s, EncodingUnicodeBigEndian, true},
        {"BE U+0101", "\x01\x01"s, EncodingUnicodeBigEndian, false},
        {"BE U+0100", "\x01\0"s, EncodingUnicodeBigEndian, false},
        {"BE unpaired last byte", "\0a\0"s, EncodingUnicodeBigEndian, false},
        {"empty", ""s, EncodingUnicode, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HasNonPrintable(c.bytes.data(), qint64(c.bytes.size()), c.encoding), c.expected);
    }
}

TEST(DecodeCharacter, OneCharacterAtATime)
{
    const struct {
        const char *name;
        std::string bytes;
        int encoding;
        qint64 start;
        char32_t character;
        qint64 next;
    } cases[] = {
        {"ANSI letter", "A"s, EncodingAnsi, 0, u'A', 1},
        {"ANSI euro", "\x80"s, EncodingAnsi, 0, 0x20AC, 1},
        {"ANSI undefined byte", "\x8D"s, EncodingAnsi, 0, 0x008D, 1},
        {"ANSI zero", "a\0"s, EncodingAnsi, 1, 0, 2},
        {"UTF-8 ASCII", "ab"s, EncodingUtf8, 1, u'b', 2},
        {"UTF-8 two bytes", "\xC3\xA9x"s, EncodingUtf8, 0, 0x00E9, 2},
        {"UTF-8 three bytes", "\xE2\x82\xAC"s, EncodingUtf8, 0, 0x20AC, 3},
        {"UTF-8 four bytes", "\xF0\x9F\x98\x80z"s, EncodingUtf8, 0, 0x1F600, 4},
        {"UTF-8 lead F8 takes three more", "\xF9\x81\x82\x83"s, EncodingUtf8, 0, 0x41083, 4},
        {"UTF-8 overlong by its bits", "\xC1\x81"s, EncodingUtf8, 0, u'A', 2},
        {"UTF-8 ANSI letter swallows two", "\xE9t\xE9z"s, EncodingUtf8, 0, 0, 3},
        {"UTF-8 lone continuation", "\xA9z"s, EncodingUtf8, 0, 0, 1},
        {"UTF-8 bad second byte", "\xC3z"s, EncodingUtf8, 0, 0, 2},
        {"UTF-8 bad third byte", "\xE2\x82z"s, EncodingUtf8, 0, 0, 3},
        {"UTF-8 bad fourth byte", "\xF0\x9F\x98z"s, EncodingUtf8, 0, 0, 4},
        {"UTF-8 cut off", "ab\xE2\x82"s, EncodingUtf8, 2, 0, 4},
        {"UTF-8 lone lead at end", "\xC3"s, EncodingUtf8, 0, 0, 1},
        {"LE", "\xE9\0\x2D\x4E"s, EncodingUnicode, 2, 0x4E2D, 4},
        {"LE lone surrogate", "\x3D\xD8"s, EncodingUnicode, 0, 0xD83D, 2},
        {"LE surrogate pair", "\x3D\xD8\x00\xDE"s, EncodingUnicode, 0, 0x1F600, 4},
        {"BE surrogate pair", "\xD8\x3D\xDE\x00"s, EncodingUnicodeBigEndian, 0, 0x1F600, 4},
        {"LE high surrogate before a letter", "\x3D\xD8z\0"s, EncodingUnicode, 0, 0xD83D, 2},
        {"BE", "\0\xE9\x4E\x2D"s, EncodingUnicodeBigEndian, 2, 0x4E2D, 4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        qint64 pos = c.start;
        char32_t character = 0xFFFF;
        ASSERT_TRUE(
            DecodeCharacter(c.bytes.data(), pos, qint64(c.bytes.size()), c.encoding, character));
        EXPECT_EQ(character, c.character);
        EXPECT_EQ(pos, c.next);
    }
}

TEST(DecodeCharacter, NoCharacterAtTheEndOrInAnUnpairedByte)
{
    const struct {
        const char *name;
        std::string bytes;
        int encoding;
        qint64 start;
    } cases[] = {
        {"ANSI end", "ab"s, EncodingAnsi, 2},
        {"UTF-8 end", "\xC3\xA9"s, EncodingUtf8, 2},
        {"LE end", "a\0"s, EncodingUnicode, 2},
        {"LE unpaired last byte", "a\0b"s, EncodingUnicode, 2},
        {"BE unpaired last byte", "\0a\0"s, EncodingUnicodeBigEndian, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        qint64 pos = c.start;
        char32_t unit = 0;
        EXPECT_FALSE(DecodeCharacter(c.bytes.data(), pos, qint64(c.bytes.size()), c.encoding, unit));
        EXPECT_EQ(pos, c.start);
    }
}

TEST(DecodeCharacter, DataLengthBoundsASequence)
{
    const std::string bytes = "\xC3\xA9"s;
    qint64 pos = 0;
    char32_t unit = 0xFFFF;
    ASSERT_TRUE(DecodeCharacter(bytes.data(), pos, 1, EncodingUtf8, unit));
    EXPECT_EQ(unit, 0);
    EXPECT_EQ(pos, 1);
}

TEST(EncodeReplacement, TextInTheFilesEncoding)
{
    const struct {
        const char *name;
        QString text;
        int encoding;
        std::string bytes;
    } cases[] = {
        {"ANSI", QString::fromUtf8("café€"), EncodingAnsi, "caf\xE9\x80"s},
        {"UTF-8", QString::fromUtf8("café"), EncodingUtf8, "caf\xC3\xA9"s},
        {"UTF-8 euro", QString::fromUtf8("€"), EncodingUtf8, "\xE2\x82\xAC"s},
        {"UTF-8 undefined byte", QString(QChar(0x81)), EncodingUtf8, "\xC2\x81"s},
        {"UTF-8 emoji", QString::fromUtf8("🙂"), EncodingUtf8, "\xF0\x9F\x99\x82"s},
        {"LE", QString::fromUtf8("aé€"), EncodingUnicode, "a\0\xE9\0\xAC\x20"s},
        {"BE", QString::fromUtf8("aé€"), EncodingUnicodeBigEndian, "\0a\0\xE9\x20\xAC"s},
        {"LE emoji", QString::fromUtf8("🙂"), EncodingUnicode, "\x3D\xD8\x42\xDE"s},
        {"empty UTF-8", QString(), EncodingUtf8, ""s},
        {"empty LE", QString(), EncodingUnicode, ""s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EncodeReplacement(c.text, c.encoding), bytesOf(c.bytes));
    }
}

// What the matcher reads back from an encoded replacement is its characters,
// and the display decodes it to the same text.
TEST(EncodeReplacement, ReadsBackAsTheText)
{
    QByteArray ansi;
    for (int byte = 1; byte < 256; ++byte)
        ansi.append(char(byte));
    const QString text = CodePage::toQString(ansi);
    for (int encoding = EncodingAnsi; encoding <= EncodingUnicodeBigEndian; ++encoding) {
        SCOPED_TRACE(encoding);
        const QByteArray encoded = EncodeReplacement(text, encoding);
        qint64 pos = 0;
        char32_t c = 0;
        for (QChar expected : text) {
            ASSERT_TRUE(DecodeCharacter(encoded.data(), pos, encoded.size(), encoding, c));
            EXPECT_EQ(c, expected.unicode());
        }
        EXPECT_EQ(pos, encoded.size());
        EXPECT_EQ(DecodeStretch(encoded.data(), encoded.size(), encoding), text);
    }
}

TEST(DecodeStretch, StretchesForDisplay)
{
    const DisplayCharset &russian = DisplayCharsetOrDefault("Russian");
    const struct {
        const char *name;
        std::string bytes;
        int encoding;
        const DisplayCharset *charset;
        QString text;
    } cases[] = {
        {"ANSI keeps zeros", "a\0b"s, EncodingAnsi, nullptr, QString("a") + QChar(0) + "b"},
        {"ANSI through Windows-1252", "caf\xE9\x80"s, EncodingAnsi, nullptr,
         QString::fromUtf8("café€")},
        {"ANSI through a charset", "\xEF\xF0\xE8"s, EncodingAnsi, &russian,
         QString::fromUtf8("при")},
        {"UTF-8 up to zero", "caf\xC3\xA9\0xyz"s, EncodingUtf8, nullptr, QString::fromUtf8("café")},
        {"UTF-8 CJK", "a\xE4\xB8\xAD"s, EncodingUtf8, nullptr, QString::fromUtf8("a中")},
        {"UTF-8 four bytes", "\xF0\x9F\x98\x80!"s, EncodingUtf8, nullptr, QString::fromUtf8("😀!")},
        {"LE up to zero unit", "a\0\xE9\0\0\0b\0"s, EncodingUnicode, nullptr, QString::fromUtf8("aé")},
        {"LE unpaired last byte", "a\0b"s, EncodingUnicode, nullptr, QStringLiteral("a")},
        {"BE", "\0a\x20\xAC\x4E\x2D"s, EncodingUnicodeBigEndian, nullptr, QString::fromUtf8("a€中")},
        {"empty", ""s, EncodingUtf8, nullptr, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeStretch(c.bytes.data(), qint64(c.bytes.size()), c.encoding, c.charset),
                  c.text);
    }
}

TEST(CodingName, NamesOnlyTheFourEncodings)
{
    const struct {
        int encoding;
        QByteArray name;
    } cases[] = {
        {EncodingAuto, ""},
        {EncodingAnsi, "ANSI"},
        {EncodingUtf8, "UTF-8"},
        {EncodingUnicode, "Unicode"},
        {EncodingUnicodeBigEndian, "Unicode (big endian)"},
        {5, ""},
        {EncodingNone, ""},
        {-1, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CodingName(c.encoding), c.name) << c.encoding;
}

} // namespace
