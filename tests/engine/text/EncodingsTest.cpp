#include "engine/text/Encodings.h"

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

TEST(DecodeUnit, OneCharacterAtATime)
{
    const struct {
        const char *name;
        std::string bytes;
        int encoding;
        qint64 start;
        char16_t unit;
        qint64 next;
    } cases[] = {
        {"ANSI letter", "A"s, EncodingAnsi, 0, u'A', 1},
        {"ANSI euro", "\x80"s, EncodingAnsi, 0, 0x20AC, 1},
        {"ANSI undefined byte", "\x8D"s, EncodingAnsi, 0, 0x008D, 1},
        {"ANSI zero", "a\0"s, EncodingAnsi, 1, 0, 2},
        {"UTF-8 ASCII", "ab"s, EncodingUtf8, 1, u'b', 2},
        {"UTF-8 two bytes", "\xC3\xA9x"s, EncodingUtf8, 0, 0x00E9, 2},
        {"UTF-8 three bytes", "\xE2\x82\xAC"s, EncodingUtf8, 0, 0x20AC, 3},
        {"UTF-8 four bytes read as three", "\xF0\x9F\x98\x80z"s, EncodingUtf8, 0, 0x07D8, 4},
        {"UTF-8 lead F8 takes three more", "\xF9\x81\x82\x83"s, EncodingUtf8, 0, 0x9042, 4},
        {"UTF-8 overlong by its bits", "\xC1\x81"s, EncodingUtf8, 0, u'A', 2},
        {"UTF-8 ANSI letter swallows two", "\xE9t\xE9z"s, EncodingUtf8, 0, 0, 3},
        {"UTF-8 lone continuation", "\xA9z"s, EncodingUtf8, 0, 0, 1},
        {"UTF-8 bad second byte", "\xC3z"s, EncodingUtf8, 0, 0, 2},
        {"UTF-8 bad third byte", "\xE2\x82z"s, EncodingUtf8, 0, 0, 3},
        {"UTF-8 bad fourth byte", "\xF0\x9F\x98z"s, EncodingUtf8, 0, 0, 4},
        {"UTF-8 cut off", "ab\xE2\x82"s, EncodingUtf8, 2, 0, 4},
        {"UTF-8 lone lead at end", "\xC3"s, EncodingUtf8, 0, 0, 1},
        {"LE", "\xE9\0\x2D\x4E"s, EncodingUnicode, 2, 0x4E2D, 4},
        {"LE surrogate", "\x3D\xD8"s, EncodingUnicode, 0, 0xD83D, 2},
        {"BE", "\0\xE9\x4E\x2D"s, EncodingUnicodeBigEndian, 2, 0x4E2D, 4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        qint64 pos = c.start;
        char16_t unit = 0xFFFF;
        ASSERT_TRUE(DecodeUnit(c.bytes.data(), pos, qint64(c.bytes.size()), c.encoding, unit));
        EXPECT_EQ(unit, c.unit);
        EXPECT_EQ(pos, c.next);
    }
}

TEST(DecodeUnit, NoCharacterAtTheEndOrInAnUnpairedByte)
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
        char16_t unit = 0;
        EXPECT_FALSE(DecodeUnit(c.bytes.data(), pos, qint64(c.bytes.size()), c.encoding, unit));
        EXPECT_EQ(pos, c.start);
    }
}

TEST(DecodeUnit, DataLengthBoundsASequence)
{
    const std::string bytes = "\xC3\xA9"s;
    qint64 pos = 0;
    char16_t unit = 0xFFFF;
    ASSERT_TRUE(DecodeUnit(bytes.data(), pos, 1, EncodingUtf8, unit));
    EXPECT_EQ(unit, 0);
    EXPECT_EQ(pos, 1);
}

TEST(EncodeReplacement, TextInTheFilesEncoding)
{
    const struct {
        const char *name;
        QByteArray ansi;
        int encoding;
        std::string bytes;
    } cases[] = {
        {"ANSI unchanged", "caf\xE9\x80", EncodingAnsi, "caf\xE9\x80"s},
        {"UTF-8", "caf\xE9", EncodingUtf8, "caf\xC3\xA9"s},
        {"UTF-8 euro", "\x80", EncodingUtf8, "\xE2\x82\xAC"s},
        {"UTF-8 undefined byte", "\x81", EncodingUtf8, "\xC2\x81"s},
        {"LE", "a\xE9\x80", EncodingUnicode, "a\0\xE9\0\xAC\x20"s},
        {"BE", "a\xE9\x80", EncodingUnicodeBigEndian, "\0a\0\xE9\x20\xAC"s},
        {"empty UTF-8", "", EncodingUtf8, ""s},
        {"empty LE", "", EncodingUnicode, ""s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EncodeReplacement(c.ansi, c.encoding), bytesOf(c.bytes));
    }
}

// What the matcher reads back from an encoded replacement is the code page's
// view of each byte, and the display decodes it to the same text.
TEST(EncodeReplacement, ReadsBackAsTheAnsiText)
{
    QByteArray ansi;
    for (int byte = 1; byte < 256; ++byte)
        ansi.append(char(byte));
    for (int encoding = EncodingAnsi; encoding <= EncodingUnicodeBigEndian; ++encoding) {
        SCOPED_TRACE(encoding);
        const QByteArray encoded = EncodeReplacement(ansi, encoding);
        qint64 pos = 0;
        char16_t unit = 0;
        for (char c : ansi) {
            ASSERT_TRUE(DecodeUnit(encoded.data(), pos, encoded.size(), encoding, unit));
            EXPECT_EQ(unit, CodePage::toUnicode(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(pos, encoded.size());
        EXPECT_EQ(DecodeToAnsi(encoded.data(), encoded.size(), encoding), ansi);
    }
}

TEST(DecodeToAnsi, StretchesForDisplay)
{
    const struct {
        const char *name;
        std::string bytes;
        int encoding;
        QByteArray ansi;
    } cases[] = {
        {"ANSI keeps zeros", "a\0b"s, EncodingAnsi, QByteArray("a\0b", 3)},
        {"UTF-8 up to zero", "caf\xC3\xA9\0xyz"s, EncodingUtf8, "caf\xE9"},
        {"UTF-8 euro", "\xE2\x82\xAC"s, EncodingUtf8, "\x80"},
        {"UTF-8 CJK", "a\xE4\xB8\xAD"s, EncodingUtf8, "a?"},
        {"UTF-8 four bytes", "\xF0\x9F\x98\x80!"s, EncodingUtf8, "?!"},
        {"LE up to zero unit", "a\0\xE9\0\0\0b\0"s, EncodingUnicode, "a\xE9"},
        {"LE zero high byte is no end", "\0\x01z\0"s, EncodingUnicode, "?z"},
        {"LE unpaired last byte", "a\0b"s, EncodingUnicode, "a"},
        {"BE", "\0a\x20\xAC\x4E\x2D"s, EncodingUnicodeBigEndian, "a\x80?"},
        {"empty", ""s, EncodingUtf8, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeToAnsi(c.bytes.data(), qint64(c.bytes.size()), c.encoding), c.ansi);
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
