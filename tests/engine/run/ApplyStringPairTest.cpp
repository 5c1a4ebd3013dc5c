#include "engine/run/ApplyStringPair.h"
#include "engine/text/Encodings.h"
#include "support/AnsiText.h"
#include "support/PairPassFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int AllEncodings[] = {EncodingAnsi, EncodingUtf8, EncodingUnicode,
                                EncodingUnicodeBigEndian};

class ApplyStringPairTest : public PairPassFixture
{
protected:
    // Applies one pair to `bytes` and returns the new content.
    QByteArray apply(const QByteArray &bytes, const QByteArray &find, const QByteArray &replace,
                     const QByteArray &options, int encoding = EncodingAnsi, int bomLength = 0)
    {
        ByteBuffer buffer = bufferOf(bytes);
        changed = ApplyStringPair(buffer, Ansi(find), Ansi(replace), Ansi(options),
                                  "/data/file.txt", counters, encoding, bomLength, run);
        return contentOf(buffer);
    }
};

// Each case runs in every encoding: the text and the expected result are
// given as ANSI and encoded for the file.
TEST_F(ApplyStringPairTest, MatchesInEveryEncoding)
{
    const struct {
        const char *find;
        const char *options;
        const char *text;
        const char *expected; // with the replacement "#"
    } cases[] = {
        {"a*c", "c(?*)", "abc abbbc ac", "# # ac"},
        {"a*c", "c(?*)", "abcbc", "#bc"},
        {"a*cd", "c(?*)", "abcxcd", "abcxcd"},
        {"a*cd", "c(?*)", "abxcxcd", "#"},
        {"a?b", "c(?*)", "aXb ab", "# ab"},
        {"*c", "c(?*)", "ab c", "#"},
        {"a*", "c(?*)", "abc", "#c"},
        {"aab", "c", "aaab", "a#"},
        {"aa", "c", "aaa", "#a"},
        {"hello", "", "Hello", "#"},
        {"hello", "c", "Hello", "Hello"},
        {"\xE9t\xE9", "", "\xC9T\xC9 \xE9t\xE9", "# #"},     // é, É
        {"\x9C", "", "\x8C\x9C", "##"},                        // œ, Œ: above U+00FF
        {"\xB5\x83", "", "\xB5\x83", "#"},                     // µƒ upper-case outside ANSI
        {"abc", "i", "a b c", "#"},
        {"abc", "i", "  abc d", "  # d"},
        {"   ", "i", "a   b", "a   b"},                        // nothing left to find
        {"a b", "n", "a  b|a\tb|ab|a\r\nb", "#|#|ab|a\r\nb"},
        {"a b", "N", "a\r\nb|a \xA0 b", "#|#"},
        {"hello", "n", " ello", " ello"},                      // white space is no letter
        {"cat", "w", "cat catalog cat", "# catalog #"},
        {"cat", "w", "\xE9" "cat cat_ 1cat cat", "\xE9" "cat cat_ 1cat #"},
        {"Stra", "w", "Stra\xDF" "e Stra", "Stra\xDF" "e #"},  // ß is a letter
        {"a*", "w(?*)", "abc a", "# a"},
        {"", "", "abc", "abc"},
    };
    for (int encoding : AllEncodings) {
        for (const auto &c : cases) {
            const QByteArray text = EncodeAnsiText(c.text, encoding);
            const QByteArray expected = EncodeAnsiText(c.expected, encoding);
            EXPECT_EQ(apply(text, c.find, "#", c.options, encoding), expected)
                << "encoding " << encoding << ", find \"" << c.find << "\" in \"" << c.text
                << "\" with \"" << c.options << "\"";
            EXPECT_EQ(changed, text != expected);
        }
    }
}

TEST_F(ApplyStringPairTest, ReplacementTextAndCounters)
{
    EXPECT_EQ(apply("abcb", "b", "", "c"), "ac");
    EXPECT_EQ(apply("a b", "{TAB}", "x", "c"), "a b");
    EXPECT_EQ(apply("a\tb", "{TAB}", "{CR}{LF}", "c"), "a\r\nb");
    EXPECT_EQ(apply("ab", "b", "\xE9", "c", EncodingUtf8), "a\xC3\xA9");
    EXPECT_EQ(apply(QByteArray("\0a\0b", 4), "b", "\xE9", "c", EncodingUnicodeBigEndian),
              QByteArray("\0a\0\xE9", 4));
    EXPECT_EQ(counters.occurrences, 5);
    EXPECT_EQ(counters.replacements, 5);
}

TEST_F(ApplyStringPairTest, ByteOrderMarkAndUnpairedByteAreKept)
{
    // The mark is never read as text, and a match right after it starts a word.
    EXPECT_EQ(apply("\xEF\xBB\xBF\xEF\xBB\xBFx", "\xEF\xBB\xBF", "#", "c", EncodingAnsi, 3),
                    "\xEF\xBB\xBF#x");
    EXPECT_EQ(apply(QByteArray("\xFF\xFE" "c\0a\0t\0", 8), "cat", "#", "w", EncodingUnicode, 2),
              QByteArray("\xFF\xFE#\0", 4));
    EXPECT_EQ(apply("\xEF\xBB\xBF" "cat", "cat", "#", "w", EncodingUtf8, 3), "\xEF\xBB\xBF#");
    // The last byte of UTF-16 text of odd length is no character.
    EXPECT_EQ(apply(QByteArray("a\0a", 3), "a", "#", "c", EncodingUnicode),
              QByteArray("#\0a", 3));
    EXPECT_EQ(apply(QByteArray("\0a\0", 3), "a*", "#", "c(?*)", EncodingUnicodeBigEndian),
              QByteArray("\0a\0", 3));
}

struct AnswerCase {
    const char *what;
    std::deque<ReplaceAnswer> answers;
    const char *expected;
    int asked;
    bool promptAfter;
    bool breakAfter;
    int nextPairAsked; // the next pair of the same file, two matches
};

TEST_F(ApplyStringPairTest, ConfirmationAnswers)
{
    using A = ReplaceAnswer;
    const AnswerCase cases[] = {
        {"yes, no, yes", {A::Yes, A::No, A::Yes}, "b a b", 3, true, false, 2},
        {"yes to all in file", {A::YesToAllInFile}, "b b b", 1, true, false, 2},
        {"no to all in file", {A::Yes, A::NoToAllInFile}, "b a a", 2, true, false, 2},
        {"yes to all files", {A::No, A::YesToAllFiles}, "a b b", 2, false, false, 0},
        {"cancel", {A::Yes, A::Cancel}, "b a a", 2, true, true, 0},
    };
    for (const AnswerCase &c : cases) {
        state.PromptEachReplacement = true;
        state.BreakRequested = false;
        host.confirmations.clear();
        host.replaceAnswers = c.answers;
        EXPECT_EQ(apply("a a a", "a", "b", "c"), c.expected) << c.what;
        EXPECT_EQ(host.confirmations.size(), c.asked) << c.what;
        EXPECT_EQ(state.PromptEachReplacement, c.promptAfter) << c.what;
        EXPECT_EQ(state.breakRequested(), c.breakAfter) << c.what;

        // Asking in this file is per pair; only the run-wide answers reach on.
        host.confirmations.clear();
        host.replaceAnswers = {A::No, A::No};
        apply("x x", "x", "y", "c");
        EXPECT_EQ(host.confirmations.size(), c.nextPairAsked) << c.what;
    }
}

TEST_F(ApplyStringPairTest, NoToAllEndsOnlyThisPair)
{
    state.PromptEachReplacement = true;
    host.replaceAnswers = {ReplaceAnswer::NoToAllInFile};
    ByteBuffer buffer = bufferOf("a a");
    EXPECT_FALSE(ApplyStringPair(buffer, "a", "b", "", "f", counters, EncodingAnsi, 0, run));
    EXPECT_TRUE(ApplyStringPair(buffer, "a", "c", "", "f", counters, EncodingAnsi, 0, run));
    EXPECT_EQ(contentOf(buffer), "c c");
    EXPECT_EQ(host.confirmations.size(), 3);
    EXPECT_EQ(counters.occurrences, 3);
    EXPECT_EQ(counters.replacements, 2);
}

TEST_F(ApplyStringPairTest, UnattendedRunReplacesWithoutAsking)
{
    state.PromptEachReplacement = true;
    state.unattended = true;
    EXPECT_EQ(apply("a a", "a", "b", ""), "b b");
    EXPECT_TRUE(host.confirmations.isEmpty());
}

TEST_F(ApplyStringPairTest, ConfirmationShowsTheMatch)
{
    state.PromptEachReplacement = true;
    state.CodingReport = "report";
    RunOptions options = job.options();
    options.preferEquidistantFont = true;
    job.setOptions(options);
    host.replaceAnswers = {ReplaceAnswer::No, ReplaceAnswer::No};
    apply(EncodeAnsiText("one\r\nx\x01 F\xD6\xD6 y\nz", EncodingUtf8), "f\xF6\xF6", "{TAB}r",
          "[Russian]", EncodingUtf8);
    apply("FOO", "foo", "r", "", EncodingAnsi);

    ASSERT_EQ(host.confirmations.size(), 2);
    const ReplaceConfirmation &first = host.confirmations[0];
    EXPECT_EQ(first.codingName, "UTF-8");
    EXPECT_EQ(first.codingReport, "report");
    EXPECT_EQ(first.displayCharset, "Russian");
    EXPECT_TRUE(first.equidistantFont);
    EXPECT_EQ(first.contextBefore, Ansi("one\r\nx\xB7 "));
    EXPECT_EQ(first.foundText, Ansi("F\xD6\xD6"));
    EXPECT_EQ(first.contextAfter, " y\r\nz");
    EXPECT_EQ(first.replacement, "\tr");
    EXPECT_EQ(first.findText, Ansi("f\xF6\xF6"));
    EXPECT_EQ(first.path, "/data/file.txt");
    const ReplaceConfirmation &atStart = host.confirmations[1];
    EXPECT_EQ(atStart.displayCharset, "Default");
    EXPECT_EQ(atStart.contextBefore, "");
    EXPECT_EQ(atStart.contextAfter, "");
    EXPECT_EQ(host.wizardStages, (QList<int>{9, 9}));
    EXPECT_GE(host.pumps, 2);
}

TEST_F(ApplyStringPairTest, ContextIsLimitedToEightLinesAndAThousandUnits)
{
    QByteArray lines;
    for (int i = 1; i <= 12; ++i)
        lines += "line" + QByteArray::number(i) + "\r\n";
    state.PromptEachReplacement = true;
    host.defaultReplace = ReplaceAnswer::No;
    const QByteArray longLine(3000, 'y');
    for (int encoding : {EncodingAnsi, EncodingUnicode}) {
        host.confirmations.clear();
        apply(EncodeAnsiText(lines + "X" + lines, encoding), "X", "", "c", encoding);
        apply(EncodeAnsiText(longLine + "X" + longLine, encoding), "X", "", "c", encoding);
        ASSERT_EQ(host.confirmations.size(), 2);
        const ReplaceConfirmation &byLines = host.confirmations[0];
        EXPECT_TRUE(byLines.contextBefore.endsWith("line6\r\nline7\r\nline8\r\nline9\r\n"
                                                   "line10\r\nline11\r\nline12\r\n"));
        EXPECT_FALSE(byLines.contextBefore.contains("line5"));
        EXPECT_TRUE(byLines.contextAfter.startsWith(Ansi(lines.left(lines.indexOf("line9")))));
        EXPECT_FALSE(byLines.contextAfter.contains("line9"));
        EXPECT_EQ(host.confirmations[1].contextBefore, QString(1024, u'y'));
        EXPECT_EQ(host.confirmations[1].contextAfter, QString(1024, u'y'));
    }

    // The limit is in bytes: 512 two-byte letters of UTF-8 on each side.
    host.confirmations.clear();
    const QByteArray letters = EncodeAnsiText(QByteArray(600, '\xE9'), EncodingUtf8);
    apply(letters + "X" + letters, "X", "", "c", EncodingUtf8);
    ASSERT_EQ(host.confirmations.size(), 1);
    EXPECT_EQ(host.confirmations[0].contextBefore, QString(512, QChar(0xE9)));
    EXPECT_EQ(host.confirmations[0].contextAfter, QString(512, QChar(0xE9)));
}

TEST_F(ApplyStringPairTest, ProgressAndEnlargingStatus)
{
    const QByteArray text = QByteArray(200, '.') + "hello";
    apply(text, "he{TAB}llo", "a very long replacement text", "", EncodingAnsi);
    apply(text, "hello", "a very long replacement text", "", EncodingAnsi);
    ASSERT_GE(host.statuses.size(), 6);
    EXPECT_EQ(host.statuses[0], "");
    EXPECT_EQ(host.statuses[1].toStdString(),
              "File: file.txt[0%], (ANSI), Replacements: 0, \"HE{TAB}LLO\" -> \"a very long "
              "repla...\"");
    EXPECT_TRUE(host.statuses.contains("Enlarging the destination buffer..."));
    EXPECT_EQ(host.statuses.last(), "");

    host.statuses.clear();
    apply("short hello", "hello", "x", "");
    EXPECT_EQ(host.statuses, (QList<QString>{"", ""}));
}

TEST_F(ApplyStringPairTest, BreakDuringAPumpEndsThePass)
{
    struct BreakingHost : ScriptedHost {
        RunState *state = nullptr;
        void pump() override { state->requestBreak(); }
    } breaking;
    breaking.state = &state;
    RunContext breakingRun{breaking, state, job};
    ByteBuffer buffer = bufferOf(QByteArray(300, 'a'));
    EXPECT_FALSE(ApplyStringPair(buffer, "a", "b", "", "f", counters, EncodingAnsi, 0,
                                 breakingRun));
    EXPECT_EQ(contentOf(buffer), QByteArray(300, 'a'));
}

TEST_F(ApplyStringPairTest, OutOfMemory)
{
    ByteBuffer buffer = bufferOf("aaaa");
    const char *before = buffer.data();
    ByteBuffer::setAllocationLimit(3);
    // A pass that replaces nothing needs no second buffer.
    EXPECT_FALSE(ApplyStringPair(buffer, "z", "b", "", "f", counters, EncodingAnsi, 0, run));
    EXPECT_FALSE(counters.outOfMemory);
    EXPECT_FALSE(ApplyStringPair(buffer, "a", "b", "", "f", counters, EncodingAnsi, 0, run));
    EXPECT_TRUE(counters.outOfMemory);
    EXPECT_EQ(buffer.data(), before);
    EXPECT_EQ(contentOf(buffer), "aaaa");

    // Growing fails on the second match: the first fits exactly.
    counters = {};
    ByteBuffer::setAllocationLimit(10);
    ApplyStringPair(buffer, "a", "bbbbbbbb", "", "f", counters, EncodingAnsi, 0, run);
    EXPECT_TRUE(counters.outOfMemory);
    EXPECT_EQ(counters.replacements, 1);

    // The last replacement fits, but the rest of the text does not.
    counters = {};
    host.statuses.clear();
    ByteBuffer tail = bufferOf("ab");
    ByteBuffer::setAllocationLimit(3);
    ApplyStringPair(tail, "a", "xyz", "", "f", counters, EncodingAnsi, 0, run);
    EXPECT_TRUE(counters.outOfMemory);
    EXPECT_EQ(counters.replacements, 1);
    EXPECT_TRUE(host.statuses.contains("Enlarging the destination buffer..."));

    // Without a limit, a long series of growing replacements comes out whole.
    ByteBuffer::setAllocationLimit(-1);
    counters = {};
    EXPECT_EQ(apply(QByteArray(5000, 'a'), "a", "xyz", "c"), QByteArray(5000, 'x').replace("x", "xyz"));
    EXPECT_FALSE(counters.outOfMemory);
}

// A pass whose pattern never occurs gives back every byte, whatever the bytes
// are: malformed UTF-8, zero bytes, odd UTF-16 lengths.
TEST_F(ApplyStringPairTest, RandomTextWithoutAMatchIsUnchanged)
{
    // No byte that could read as "z" or "Z" in any encoding.
    QByteArray alphabet;
    for (int byte = 0; byte < 256; ++byte)
        if (!QByteArray("zZ\xC1\xE0\xF0\xF8").contains(char(byte)))
            alphabet += char(byte);
    const char *pairs[][2] = {{"zz", "c"}, {"zz", ""}, {"z z", "nw"}, {"zz", "I"},
                              {"z*z", "(?*)"}, {"*z", "(?*)"}, {"?z", "(?*)"}};
    quint32 seed = 7;
    const auto random = [&seed] { return (seed = seed * 1103515245 + 12345) >> 8; };
    for (int round = 0; round < 20; ++round) {
        QByteArray text(int(random() % 3000), '\0');
        for (char &byte : text)
            byte = alphabet[random() % alphabet.size()];
        for (int encoding : AllEncodings)
            for (const auto &pair : pairs)
                EXPECT_EQ(apply(text, pair[0], "Q", pair[1], encoding), text)
                    << "encoding " << encoding << ", " << pair[0] << " " << pair[1];
    }
    EXPECT_EQ(counters.occurrences, 0);
}

} // namespace
