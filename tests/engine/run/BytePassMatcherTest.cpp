#include "engine/match/BytePattern.h"
#include "engine/run/PassMatcher.h"
#include "engine/text/Encodings.h"
#include "support/MatcherScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Every match the byte search finds, pausing every `chunk` bytes, as the
// matcher reports them (last byte inclusive).
Matches byteMatches(const PreparedPair &pair, const QByteArray &pattern, const QByteArray &text,
                    int bomLength, qint64 chunk)
{
    BytePassMatcher matcher(pair, pattern, text.constData(), text.size(), bomLength);
    Matches matches;
    for (;;) {
        const PassMatcher::Stop stop = matcher.scan(matcher.position() + chunk);
        if (stop == PassMatcher::Stop::End)
            return matches;
        if (stop == PassMatcher::Stop::Match)
            matches.emplace_back(matcher.matchStart(), matcher.matchEnd() - 1);
    }
}

// Where the byte search is taken, it finds exactly what the matcher finds; it
// is not taken where it would not (malformed and overlong UTF-8 reading as
// ASCII, any case, white space, whole words, a wildcard in the find text,
// UTF-16).
TEST(BytePassMatcherTest, FindsWhatTheMatcherFindsWhereverItIsTaken)
{
    static const char textByteList[] = "abab a\tb\r\nthe\xC3\xA9\xC1\xA1\xE2\x82" "a\x00\xFF";
    const QByteArray textBytes(textByteList, sizeof textByteList - 1);
    const char *finds[] = {"a", "ab", "aba", "a b", "the", "b\r\na", "\xE9"};
    const char *options[] = {"c", "", "cw", "cn", "cI", "c(?*)"};
    std::mt19937 random(5);
    int taken = 0;
    int declined = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray text(int(random() % 120), '\0');
        for (char &byte : text)
            byte = textBytes[random() % textBytes.size()];
        if (round % 3 == 0)
            text.replace('\xC3', 'a').replace('\xC1', 'b').replace('\xE2', ' ').replace('\xFF', 'e');
        const int encoding = int(random() % 4) + 1;
        const QByteArray find = finds[random() % std::size(finds)];
        const QByteArray option = options[random() % std::size(options)];
        const PreparedPair pair =
            PreparePair(QString::fromLatin1(find), "", QString::fromLatin1(option), encoding);
        const int bomLength = int(random() % 3);
        const std::optional<QByteArray> pattern =
            PlainBytePattern(pair, text.constData(), text.size(), encoding, bomLength);
        if (!pattern) {
            ++declined;
            continue;
        }
        ++taken;
        // Wildcards assigned but not used in the find text leave it plain.
        EXPECT_TRUE(option == "c" || option == "c(?*)");
        EXPECT_TRUE(encoding == EncodingAnsi || encoding == EncodingUtf8);
        EXPECT_EQ(byteMatches(pair, *pattern, text, bomLength, qint64(random() % 9) + 1),
                  matchesOf(pair, text, encoding, bomLength, true, text.size() + 1))
            << "encoding " << encoding << ", find \"" << find.data() << "\", text "
            << text.toHex().data();
    }
    EXPECT_GT(taken, 200);
    EXPECT_GT(declined, 200);
}

// The vectorised search finds the first occurrence std::search finds, for
// patterns of every length, near the ends of the text and with many
// candidates that share the first and last byte.
TEST(BytePassMatcherTest, FindBytesFindsTheFirstOccurrence)
{
    std::mt19937 random(3);
    for (int round = 0; round < 20000; ++round) {
        QByteArray text(int(random() % 80), '\0');
        for (char &byte : text)
            byte = "abx"[random() % 3];
        QByteArray pattern(int(random() % 6) + 1, '\0');
        for (char &byte : pattern)
            byte = "ab"[random() % 2];
        const int from = text.isEmpty() ? 0 : int(random() % text.size());
        const char *begin = text.constData() + from;
        const char *end = text.constData() + text.size();
        const char *expected = std::search(begin, end, pattern.begin(), pattern.end());
        EXPECT_EQ(FindBytes(begin, end, pattern), expected == end ? nullptr : expected)
            << "pattern " << pattern.data() << ", text " << text.data() << " from " << from;
    }
}

} // namespace
