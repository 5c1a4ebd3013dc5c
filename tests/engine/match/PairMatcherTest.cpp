#include "engine/match/PairMatcher.h"
#include "engine/match/WholeWord.h"
#include "engine/text/Encodings.h"
#include "support/AnsiText.h"
#include "support/MatcherScan.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

// The scan as a plain reading of its rules, one character at a time, with no
// shortcut: what the matcher must find.
Matches referenceMatches(const PreparedPair &pair, const QByteArray &text, int encoding,
                         int bomLength)
{
    const char *data = text.constData();
    const qint64 length = text.size();
    const auto length16 = qsizetype(pair.pattern.size());
    const WhiteSpaceSet &white = pair.whiteSpace;
    const auto is = [&](qsizetype i, PatternUnitKind kind) { return pair.kinds[size_t(i)] == kind; };
    Matches matches;
    qint64 pos = bomLength, restart = -1, start = 0;
    qsizetype pi = 0, anchor = 0;
    char32_t previous = 0, c = 0;
    while (pos < length) {
        if (pi == 0)
            start = pos;
        if (!DecodeCharacter(data, pos, length, encoding, c))
            break;
        if (anchor == pi)
            restart = pos;
        if (!pair.options.caseSensitive)
            c = CodePage::characterUpper(c);
        if (pair.options.ignoresWhiteSpace() && white.contains(c))
            continue;
        if (pair.options.normalizes() && white.contains(c) && white.contains(previous))
            continue;
        previous = c;
        if (pi < length16
            && (c == pair.pattern[size_t(pi)]
                || (pair.options.normalizes() && pair.pattern[size_t(pi)] == u' '
                    && white.contains(c))
                || !is(pi, PatternUnitKind::Literal)))
            ++pi;
        else if (pi > 0 && is(pi - 1, PatternUnitKind::MultiWildcard))
            anchor = pi;
        else if (restart >= 0) {
            pos = std::exchange(restart, -1);
            pi = anchor;
        }
        if (pi != length16
            || (pair.options.wholeWords
                && !IsWholeWord(data, length, encoding, bomLength, start, pos)))
            continue;
        matches.emplace_back(start, pos - 1);
        anchor = pi = 0;
    }
    return matches;
}

// The matcher finds what the plain reading of the rules finds, and skipping
// ahead finds exactly what the character-by-character scan finds, also in
// malformed UTF-8 where a lead byte swallows a would-be match, in UTF-16 where
// a byte of the pattern sits at an odd offset, and when the scan pauses inside
// a character. Half of the texts are made as ANSI and encoded, so that UTF-16
// text has runs of real white space.
TEST(PairMatcherTest, SkipAheadFindsWhatThePlainScanFinds)
{
    // The literal holds a zero byte, so its length comes from its size.
    static const char textByteList[] = "aAbB  \t\r\n\xA0\xC3\xA9\xC9\xE9\xC1\xA1\xE0\x81\xA1"
                                       "\xF0\xC5\xBF\x80\x00sS\x9C\x8C\xB5\xFF\xFE\xEF\xBB\xBF"
                                       "\xC5\xB8";
    const QByteArray textBytes(textByteList, sizeof textByteList - 1);
    const char *finds[] = {"a", "ab", "a b", " a", "\xE9", "s", "a*b", "b?a", "\x9C", "\xB5",
                           "  b", "aa", " ", "b a ", "\xFF", "a\r\nb", "a*", " b?", " b", "? b", "*b "};
    const char *options[] = {"", "c", "n", "N", "i", "I", "w", "cw", "Nw", "Iw", "(?*)", "w(?*)",
                             "nw(?*)"};
    std::mt19937 random(11);
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray text(int(random() % 200), '\0');
        for (char &byte : text)
            byte = textBytes[random() % textBytes.size()];
        const int encoding = int(random() % 4) + 1;
        if (round % 2)
            text = EncodeAnsiText((text), encoding);
        const QByteArray find = finds[random() % std::size(finds)];
        const QByteArray option = options[random() % std::size(options)];
        const PreparedPair pair =
            PreparePair(CodePage::toQString(find), "", QString::fromLatin1(option), encoding);
        if (pair.pattern.empty())
            continue; // white space only, in an Ignore mode
        const int bomLength = int(random() % 3);
        const Matches plain = matchesOf(pair, text, encoding, bomLength, false, text.size() + 1);
        const Matches skipping =
            matchesOf(pair, text, encoding, bomLength, true, qint64(random() % 7) + 1);
        EXPECT_EQ(plain, referenceMatches(pair, text, encoding, bomLength))
            << "encoding " << encoding << ", find \"" << find.data() << "\" with \""
            << option.data() << "\", text " << text.toHex().data();
        EXPECT_EQ(skipping, plain) << "encoding " << encoding << ", find \"" << find.data()
                                   << "\" with \"" << option.data() << "\", text "
                                   << text.toHex().data();
        found += int(plain.size());
    }
    EXPECT_GT(found, 1000); // the texts are not all misses
}

} // namespace

namespace {

// In Normalize mode every white-space character of a run may begin an attempt
// at a pattern that starts with a space or a wildcard, and each such attempt
// reads the rest of the run. Those attempts end alike, so the run is read once
// for them all; the matches must be the ones of the plain scan. (How long it
// takes is measured by the normalizeOverBlankRuns benchmark: a megabyte of
// blanks read once per blank takes many minutes.)
TEST(PairMatcherTest, ALongRunOfWhiteSpaceIsNotReadOncePerCharacter)
{
    constexpr qsizetype Blanks = 40000;
    const struct {
        const char *find;
        const char *options;
        QByteArray after; // the text after "x" and the blanks
        Matches expected; // in characters
    } cases[] = {
        {" a", "n", "b a", {{Blanks + 2, Blanks + 3}}},
        {" a", "N", "\tb\r\na", {{Blanks + 3, Blanks + 5}}},
        {" b", "nw", "bc, b", {{Blanks + 4, Blanks + 5}}},
        // The first attempt fails on the word before it; the next one passes.
        {" b?", "nw(?*)", "b .", {{2, Blanks + 2}}},
        {"? a", "n(?*)", "b a", {{Blanks + 1, Blanks + 3}}},
    };
    for (const auto &c : cases) {
        const QByteArray ansi = "x" + QByteArray(Blanks, ' ') + c.after;
        for (int encoding : {EncodingAnsi, EncodingUtf8, EncodingUnicode}) {
            const int unit = encoding == EncodingUnicode ? 2 : 1;
            const QByteArray text = EncodeAnsiText((ansi), encoding);
            const PreparedPair pair = PreparePair(c.find, "", c.options, encoding);
            Matches matches;
            for (const auto &[start, end] : matchesOf(pair, text, encoding, 0, true, 1024))
                matches.emplace_back(start / unit, (end + 1) / unit - 1);
            EXPECT_EQ(matches, c.expected) << c.find << " " << c.options << ", encoding "
                                           << encoding;
        }
    }
}

} // namespace

namespace {

// A character beyond the Basic Multilingual Plane is one character: it
// matches itself and its case, a single wildcard takes it whole, and no match
// begins or ends inside it.
TEST(PairMatcherTest, ACharacterBeyondTheBasicPlaneIsOneCharacter)
{
    const struct {
        const char *name;
        const char *find, *options, *text; // UTF-8
        std::vector<QString> matched;      // the matched texts, in order
    } cases[] = {
        {"emoji", "🙂", "c", "a🙂b🙃🙂", {"🙂", "🙂"}},
        {"wildcard takes the whole emoji", "a?b", "c(?-)", "a🙂b a🙂🙂b", {"a🙂b"}},
        {"leading wildcard", "?b", "c(?-)", "🙂b", {"🙂b"}},
        {"multi wildcard", "x*y", "c(?*)", "x🙂🙃y", {"x🙂🙃y"}},
        {"Deseret without case sensitivity", "𐐨𐐩", "", "𐐀𐐁 𐐨𐐩", {"𐐀𐐁", "𐐨𐐩"}},
        {"whole words around a letter beyond the plane", "ab", "w", "𐐨ab ab", {"ab"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QString::fromUtf8(c.text);
        for (int encoding : {EncodingUtf8, EncodingUnicode, EncodingUnicodeBigEndian}) {
            SCOPED_TRACE(encoding);
            const QByteArray bytes = EncodeReplacement(text, encoding);
            const PreparedPair pair = PreparePair(QString::fromUtf8(c.find), QString(),
                                                  QString::fromLatin1(c.options), encoding);
            for (bool skipAhead : {false, true}) {
                std::vector<QString> matched;
                for (const auto &[start, end] : matchesOf(pair, bytes, encoding, 0, skipAhead, 3))
                    matched.push_back(DecodeStretch(bytes.constData() + start, end - start + 1,
                                                    encoding));
                std::vector<QString> expected;
                for (const QString &m : c.matched)
                    expected.push_back(m);
                EXPECT_EQ(matched, expected);
            }
        }
    }
}

} // namespace
