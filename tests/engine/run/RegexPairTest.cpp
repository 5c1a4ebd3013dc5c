#include "engine/run/ApplyStringPair.h"
#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"
#include "settings/CellText.h"
#include "support/PairPassFixture.h"


namespace {

struct Coding {
    int encoding;
    QByteArray mark;
};

const Coding Codings[] = {{EncodingAnsi, {}},
                          {EncodingUtf8, {}},
                          {EncodingUtf8, "\xEF\xBB\xBF"},
                          {EncodingUnicode, "\xFF\xFE"},
                          {EncodingUnicodeBigEndian, "\xFE\xFF"}};

QByteArray encoded(const QString &text, const Coding &coding)
{
    QByteArray body;
    switch (coding.encoding) {
    case EncodingAnsi: body = CodePage::fromQString(text); break;
    case EncodingUtf8: body = text.toUtf8(); break;
    default:
        for (QChar c : text) {
            const char high = char(c.unicode() >> 8);
            const char low = char(c.unicode() & 0xFF);
            body += coding.encoding == EncodingUnicode ? low : high;
            body += coding.encoding == EncodingUnicode ? high : low;
        }
    }
    return coding.mark + body;
}

QString cell(const QString &text)
{
    return EncodeCellText(text);
}

class RegexPairTest : public PairPassFixture
{
protected:
    QByteArray apply(const QByteArray &bytes, const QString &find, const QString &replacement,
                     const QByteArray &options, const Coding &coding = Codings[0])
    {
        ByteBuffer buffer = bufferOf(bytes);
        changed = ApplyStringPair(buffer, cell(find), cell(replacement), QString::fromLatin1(options),
                                  "/data/file.txt", counters, coding.encoding,
                                  int(coding.mark.size()), run);
        return contentOf(buffer);
    }
};

// Each case runs in every coding, with and without a byte-order mark. The
// expectations of the plain cases are Python's re.sub results (with \1 for
// $1); the line-end cases follow the rules (any of CR, LF, CR LF ends a line),
// where Python's "$" sees LF only.
TEST_F(RegexPairTest, PatternsInEveryCoding)
{
    const struct {
        const char *find;
        const char *replacement;
        const char *options;
        const char *text;
        const char *expected;
    } cases[] = {
        {"get_(\\w+)\\(\\)", "$1()", "c", "x = get_name() + get_id();", "x = name() + id();"},
        {"(\\w+), (\\w+)", "$2 $1", "c", "Doe, John\nRoe, Jane", "John Doe\nJane Roe"},
        {"x*", "-", "c", "abc", "-a-b-c-"},
        {"a*", "-", "c", "baaac", "-b--c-"},
        {"^(\\w+)$", "<$1>", "c", "one\r\ntwo\r\nthree", "<one>\r\n<two>\r\n<three>"},
        {"^", ">", "c", "a\r\nb\rc\nd", ">a\r\n>b\r>c\n>d"},
        {"$", "|", "c", "a\r\nb", "a|\r\nb|"},
        {"a.b", "#", "c", "a\nb a\rb axb", "a\nb a\rb #"},
        {"(?<key>\\w+)=(?<val>\\w+)", "${val}=${key}", "c", "a=1, b=2", "1=a, 2=b"},
        {"(\\d+)", "$$$1", "c", "cost 5, $6", "cost $5, $$6"},
        {"(\\d)", "${1}0", "c", "1 2", "10 20"},
        {"\\d+", "<$0>", "c", "a1b22", "a<1>b<22>"},
        {"(a)|b", "[$1]", "c", "ab", "[a][]"},
        {"hello", "bye", "", "Hello HELLO hello", "bye bye bye"},
        {"hello", "bye", "c", "Hello HELLO hello", "Hello HELLO bye"},
        {"\\w+", "#", "c", "caf\u00e9 na\u00efve, \u0161\u0153ur", "# #, #"},
        {"\\bcat\\b", "dog", "c", "cat concat cat_ cat", "dog concat cat_ dog"},
        {"cat\\w*", "#", "cw", "concat catalog cat", "concat # #"},
        {"\u00e9", "e", "", "caf\u00e9 CAF\u00c9", "cafe CAFe"},
        {";", "\r\n", "c", "a;b", "a\r\nb"},
        {"(b)(c)?", "$2$1", "c", "abcab", "acbab"},
        {"needle_(\\w+)", "pin_$1", "c", "needle_x needle_ needle_yz", "pin_x needle_ pin_yz"},
        {"nothing", "#", "c", "text without it", "text without it"},
    };
    for (const Coding &coding : Codings) {
        for (const auto &c : cases) {
            const QByteArray text = encoded(QString::fromUtf8(c.text), coding);
            const QByteArray expected = encoded(QString::fromUtf8(c.expected), coding);
            EXPECT_EQ(apply(text, QString::fromUtf8(c.find), QString::fromUtf8(c.replacement),
                            QByteArray(c.options) + "r(--)[Default]", coding),
                      expected)
                << "coding " << coding.encoding << "+" << coding.mark.size() << ", \"" << c.find
                << "\" -> \"" << c.replacement << "\" in \"" << c.text << "\"";
            EXPECT_EQ(changed, text != expected) << c.find;
        }
    }
}

// Characters beyond the 16-bit range are one character in UTF-8 as in UTF-16;
// bytes that are no character stay as they are and are matched by nothing
// but "." and their like.
TEST_F(RegexPairTest, CharactersBeyondTheBasicPlaneAndBrokenBytes)
{
    const QString text = QString::fromUtf8("a\U0001F600b");
    for (const Coding &coding : {Codings[1], Codings[3], Codings[4]}) {
        EXPECT_EQ(apply(encoded(text, coding), ".", "#", "cr", coding),
                  encoded("###", coding));
        EXPECT_EQ(apply(encoded(text, coding), "\\x{1F600}", "-", "cr", coding),
                  encoded("a-b", coding));
    }
    // A malformed sequence swallows what its lead byte claims, and a group's
    // text is copied as the bytes it was read from.
    EXPECT_EQ(apply("x\xE9y z\xC3", "(\\S+)", "[$1]", "cr", Codings[1]), "[x\xE9y z\xC3]");
    EXPECT_EQ(apply("ab\xC3", "b.", "#", "cr", Codings[1]), "a#");
    // An unpaired surrogate of UTF-16 text is one character too.
    const QString unpaired = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    EXPECT_EQ(apply(encoded(unpaired, Codings[3]), "a.b", "#", "cr", Codings[3]),
              encoded("#", Codings[3]));
}

TEST_F(RegexPairTest, CountsAndConfirmation)
{
    state.PromptEachReplacement = true;
    using A = ReplaceAnswer;
    host.replaceAnswers = {A::Yes, A::No, A::YesToAllInFile};
    EXPECT_EQ(apply("k1 k2 k3 k4", "k(\\d)", "<$1>", "cr"), "<1> k2 <3> <4>");
    EXPECT_EQ(counters.occurrences, 4);
    EXPECT_EQ(counters.replacements, 3);
    ASSERT_EQ(host.confirmations.size(), 3);
    EXPECT_EQ(host.confirmations[1].foundText, "k2");
    EXPECT_EQ(host.confirmations[1].replacement, "<2>");
    EXPECT_EQ(host.confirmations[1].findText, "k(\\d)");
    EXPECT_EQ(host.confirmations[1].contextBefore, "k1 ");

    // An empty match is shown as empty, also at the very start of the text.
    host.confirmations.clear();
    host.replaceAnswers = {A::No, A::NoToAllInFile};
    EXPECT_EQ(apply("ab", "x*", "-", "cr"), "ab");
    ASSERT_EQ(host.confirmations.size(), 2);
    EXPECT_EQ(host.confirmations[0].foundText, "");
    EXPECT_EQ(host.confirmations[0].contextAfter, "ab");
    EXPECT_EQ(host.confirmations[1].contextBefore, "a");

    host.replaceAnswers = {A::Cancel};
    EXPECT_EQ(apply("a1", "\\d", "#", "cr"), "a1");
    EXPECT_TRUE(state.breakRequested());
}

// (a+)+b backtracks without end on a run of a's followed by no b: the pass
// gives up on the file, and ApplyStringPairs names the pair.
TEST_F(RegexPairTest, RunawayPatternLeavesTheFile)
{
    const QByteArray text = "ab " + QByteArray(40, 'a') + "c b";
    apply(text, "(a+)+b", "#", "cr");
    EXPECT_TRUE(counters.limitReached);

    for (const Coding &coding : Codings) {
        ByteBuffer buffer = bufferOf(encoded(QString::fromLatin1(text), coding));
        FileCounters fileCounters;
        const QList<TextTable::Row> pairs = {{"ab", "xb", "c"}, {"(a+)+b", "#", "cr"}};
        EXPECT_FALSE(ApplyStringPairs(buffer, pairs, "/f", fileCounters, coding.encoding,
                                      int(coding.mark.size()), run));
        EXPECT_TRUE(fileCounters.limitReached);
        EXPECT_EQ(fileCounters.limitReachedPair, 2);
    }
}

// The white-space modes and wildcards of the options text play no part.
TEST_F(RegexPairTest, WhiteSpaceModesAndWildcardsDoNotApply)
{
    EXPECT_EQ(apply("ab a b axb", "a b|a?b", "#", "cIr(?*)"), "# # ax#");
}

} // namespace
