#include "engine/Encodings.h"
#include "engine/PairMatcher.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

using Matches = std::vector<std::pair<qint64, qint64>>;

// Every match of the pair, scanning in steps of `chunk` bytes.
Matches matchesOf(const PreparedPair &pair, const QByteArray &text, int encoding, int bomLength,
                  bool skipAhead, qint64 chunk)
{
    PairMatcher matcher(pair, text.constData(), text.size(), encoding, bomLength, skipAhead);
    Matches matches;
    for (;;) {
        const PairMatcher::Stop stop = matcher.scan(matcher.state().pos + chunk);
        if (stop == PairMatcher::Stop::End)
            return matches;
        if (stop == PairMatcher::Stop::Match)
            matches.emplace_back(matcher.state().matchStart, matcher.state().matchEnd);
    }
}

// Skipping ahead must find exactly what the character-by-character scan
// finds, also in malformed UTF-8 where a lead byte swallows a would-be match,
// in UTF-16 where a byte of the pattern sits at an odd offset, and when the
// scan pauses inside a character.
TEST(PairMatcherTest, SkipAheadFindsWhatThePlainScanFinds)
{
    const QByteArray textBytes("aAbB  \t\r\n\xA0\xC3\xA9\xC9\xE9\xC1\xA1\xE0\x81\xA1\xF0\xC5\xBF"
                               "\x80\x00sS\x9C\x8C\xB5\xFF\xFE\xEF\xBB\xBF\xC5\xB8",
                               42);
    const char *finds[] = {"a", "ab", "a b", " a", "\xE9", "s", "a*b", "b?a", "\x9C", "\xB5",
                           "  b", "aa", " ", "b a ", "\xFF", "a\r\nb", "a*"};
    const char *options[] = {"", "c", "n", "N", "i", "I", "w", "cw", "Nw", "Iw", "(?*)", "w(?*)"};
    std::mt19937 random(11);
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray text(int(random() % 200), '\0');
        for (char &byte : text)
            byte = textBytes[random() % textBytes.size()];
        const int encoding = int(random() % 4) + 1;
        const QByteArray find = finds[random() % std::size(finds)];
        const QByteArray option = options[random() % std::size(options)];
        const PreparedPair pair = PreparePair(find, "", option, encoding);
        if (pair.pattern.empty())
            continue; // white space only, in an Ignore mode
        const int bomLength = int(random() % 3);
        const Matches plain = matchesOf(pair, text, encoding, bomLength, false, text.size() + 1);
        const Matches skipping =
            matchesOf(pair, text, encoding, bomLength, true, qint64(random() % 7) + 1);
        EXPECT_EQ(skipping, plain) << "encoding " << encoding << ", find \"" << find.data()
                                   << "\" with \"" << option.data() << "\", text "
                                   << text.toHex().data();
        found += int(plain.size());
    }
    EXPECT_GT(found, 1000); // the texts are not all misses
}

} // namespace
