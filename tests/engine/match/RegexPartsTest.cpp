#include "engine/match/DecodedText.h"
#include "engine/match/RegexPair.h"
#include "engine/match/ReplacementTemplate.h"
#include "engine/match/RequiredLiteral.h"
#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

#include <gtest/gtest.h>

#include <limits>
#include <variant>

namespace {

ReplacementPiece text(const char *literal)
{
    return {QString::fromUtf8(literal), -1, {}};
}
ReplacementPiece group(int number)
{
    return {{}, number, {}};
}
ReplacementPiece named(const char *name)
{
    return {{}, -1, QString::fromLatin1(name)};
}

TEST(ReplacementTemplate, Pieces)
{
    const struct {
        const char *text;
        QList<ReplacementPiece> pieces;
    } cases[] = {
        {"", {}},
        {"plain", {text("plain")}},
        {"pin_$1", {text("pin_"), group(1)}},
        {"$2$1", {group(2), group(1)}},
        {"$123", {group(12), text("3")}},
        {"${1}0", {group(1), text("0")}},
        {"$0 ${0}", {group(0), text(" "), group(0)}},
        {"${val}=${key}", {named("val"), text("="), named("key")}},
        {"$$1 costs $", {text("$1 costs $")}},
        {"$x ${ ${1x} ${} ${open", {text("$x ${ ${1x} ${} ${open")}},
        {"a\r\n$1", {text("a\r\n"), group(1)}},
        {"${99999999999}", {group(std::numeric_limits<int>::max())}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseReplacementTemplate(QString::fromUtf8(c.text)), c.pieces) << c.text;
}

TEST(RequiredLiteral, ReadsOnlyWhatEveryMatchHolds)
{
    const struct {
        const char *pattern;
        bool caseSensitive;
        const char *literal;
    } cases[] = {
        {"needle_(\\w+)", true, "needle_"},
        {"(\\w+)_needle\\(\\)", true, "_needle()"},
        {"get_(\\w+)", false, "get_"},
        {"ab?cdef", true, "cdef"},    // "b" may be absent
        {"abcx*yz", true, "abc"},      // so may "x"
        {"abc+de", true, "abc"},       // "c" is there, repeated
        {"ab{2}c", true, "a"},         // a quantifier
        {"a{b}cd", true, "b}cd"},      // a "{" that is a character of its own
        {"[xyz]abc[", true, ""},       // an unterminated class: give up
        {"[]ab]cd", true, "cd"},
        {"x(?:ab|cd)yz", true, ""},    // an alternative anywhere: give up
        {"(?i)abc", true, ""},         // option settings: give up
        {"(?<n>ab)cde", true, "cde"},
        {"\\x41bc", true, ""},         // an escape with an argument: give up
        {"a\\.b\\dcd", true, "a.b"},
        {"kilo_bytes", false, "ilo_bytes"}, // no k without case sensitivity
        {"kilo_bytes", true, "kilo_bytes"},
        {"caf\u00e9 au!", true, " au!"}, // ASCII only
        {"\\Qa.b\\E", true, ""},
        {"(*UCP)abc", true, ""},
        {"a.b.c", true, "a"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RequiredLiteral(QString::fromUtf8(c.pattern), c.caseSensitive),
                  QString::fromUtf8(c.literal))
            << c.pattern;
}

// Where a case-insensitive expression matches a letter of the literal, the
// byte search (which folds each unit to its simple upper case) must find it
// too, or a file with a match would be passed over.
TEST(RequiredLiteral, CaseFoldingOfTheByteSearchCoversTheExpressions)
{
    QString everyUnit;
    for (char32_t u = 1; u < 0x10000; ++u)
        if (u < 0xD800 || u > 0xDFFF)
            everyUnit += QChar(char16_t(u));
    for (char c = 0x20; c < 0x7F; ++c) {
        const QString literal = RequiredLiteral(QString(QChar(c)), false);
        if (literal.isEmpty())
            continue;
        const QRegularExpression re(QRegularExpression::escape(literal),
                                    QRegularExpression::CaseInsensitiveOption
                                        | QRegularExpression::UseUnicodePropertiesOption);
        QRegularExpressionMatchIterator it = re.globalMatch(everyUnit);
        while (it.hasNext()) {
            const char16_t unit = it.next().captured().front().unicode();
            EXPECT_EQ(CodePage::unitUpper(unit), CodePage::unitUpper(char16_t(c)))
                << "'" << c << "' matches U+" << std::hex << int(unit);
        }
    }
}

QString errorOf(const char *find, const char *replacement, qsizetype *offset = nullptr)
{
    const CompiledRegexPair compiled =
        CompileRegexPair(QString::fromUtf8(find), QString::fromUtf8(replacement), true);
    const auto *error = std::get_if<RegexPairError>(&compiled);
    if (error && offset)
        *offset = error->offset;
    return error ? error->message : QString();
}

TEST(RegexPair, RefusesWhatCannotBeUsed)
{
    qsizetype offset = -2;
    EXPECT_EQ(errorOf("get_(\\w+", "", &offset),
              "The regular expression is not valid: missing closing parenthesis at offset 8.");
    EXPECT_EQ(offset, 8);
    EXPECT_EQ(errorOf("a(b)", "$2", &offset),
              "The replacement text refers to group 2, but the regular expression has only 1 "
              "group.");
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(errorOf("a", "$1"),
              "The replacement text refers to group 1, but the regular expression has 0 groups.");
    EXPECT_EQ(errorOf("(?<key>a)", "${value}"),
              "The replacement text refers to the group \"value\", which the regular expression "
              "does not have.");
    EXPECT_EQ(errorOf("a(*COMMIT)b", "", &offset),
              "The regular expression uses (*COMMIT), which is not supported: it could stop a "
              "search as a whole.");
    EXPECT_EQ(offset, 1);
    // Usable: a quoted verb, a pattern in the extended syntax ending in a
    // comment, a quotation left open, the pattern's own leading verbs.
    for (const char *find : {"a\\(*SKIP", "(?x) a b # comment", "\\Qa(b", "(*UCP)(*CRLF)a$"})
        EXPECT_EQ(errorOf(find, "$0"), QString()) << find;
}

TEST(DecodedText, UnitsAndByteOffsets)
{
    // a, é (2 bytes), a malformed lead swallowing "x", a four-byte character,
    // a cut-off sequence: the units and where each character starts.
    const QByteArray utf8 = "\xEF\xBB\xBF" "a\xC3\xA9\xC3x\xF0\x9F\x98\x80z\xE2\x82";
    const DecodedText text(utf8.constData(), utf8.size(), EncodingUtf8, 3);
    EXPECT_EQ(text.units(), QString::fromUtf8("a\u00e9\uFFFD\U0001F600z\uFFFD"));
    const qint64 starts[] = {3, 4, 6, 8, 8, 12, 13, 15};
    for (qsizetype unit = 0; unit <= text.units().size(); ++unit)
        if (unit != 4) // inside the surrogate pair
            EXPECT_EQ(text.byteOffset(unit), starts[unit]) << unit;

    // Long enough for the fast path and the checkpoints.
    QByteArray long8;
    for (int i = 0; i < 500; ++i)
        long8 += "abcdefgh\xC3\xA9";
    const DecodedText longText(long8.constData(), long8.size(), EncodingUtf8, 0);
    ASSERT_EQ(longText.units().size(), 4500);
    EXPECT_EQ(longText.byteOffset(4499), long8.size() - 2);
    EXPECT_EQ(longText.byteOffset(9 * 321 + 3), 10 * 321 + 3);

    const QByteArray ansi = "\x80x\x9F";
    const DecodedText ansiText(ansi.constData(), ansi.size(), EncodingAnsi, 0);
    EXPECT_EQ(ansiText.units(), QString::fromUtf8("\u20ACx\u0178"));

    const QByteArray be("\xFE\xFF\xD8\x00\x00x\xD8\x3D\xDE\x00\x00", 11);
    const DecodedText beText(be.constData(), be.size(), EncodingUnicodeBigEndian, 2);
    EXPECT_EQ(beText.units(), QStringLiteral("\uFFFDx") + QString::fromUtf8("\U0001F600"));
    EXPECT_EQ(beText.byteOffset(4), 10); // the unpaired last byte is no character
}

} // namespace
