#include "engine/text/ContentScan.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

// The one-pass content scan must give exactly what the plain loops of
// DetectCoding and HasNonPrintable give, on every length, alignment and
// instruction set, above all where bytes meet at the edges of the blocks.

namespace {

using Bytes = std::string;
using Generator = std::function<Bytes(std::mt19937 &, size_t)>;

std::vector<ScanInstructions> instructionSets()
{
    std::vector<ScanInstructions> sets{ScanInstructions::Sse2, ScanInstructions::Best};
    if (ProcessorHasAvx2())
        sets.push_back(ScanInstructions::Avx2);
    return sets;
}

// The bytes whose neighbours matter: zero, the control codes and the three
// that print, 7-bit letters, continuations, lead bytes, the marks' bytes.
const unsigned char Interesting[] = {0x00, 0x01, 0x08, 0x09, 0x0A, 0x0B, 0x0D, 0x1F,
                                     0x20, 'a',  0x7F, 0x80, 0xA9, 0xBB, 0xBF, 0xC0,
                                     0xC3, 0xE2, 0xEF, 0xF0, 0xFE, 0xFF};

unsigned char interesting(std::mt19937 &random)
{
    return Interesting[random() % std::size(Interesting)];
}

Bytes filled(size_t length, char byte)
{
    return Bytes(length, byte);
}

// A background with a few interesting bytes dropped at random places.
Bytes sprinkled(std::mt19937 &random, Bytes background)
{
    if (background.empty())
        return background;
    for (int i = random() % 4; i >= 0; --i)
        background[random() % background.size()] = char(interesting(random));
    return background;
}

Bytes utf8Text(size_t length)
{
    Bytes text;
    while (text.size() < length)
        text += "caf\xC3\xA9 \xE2\x82\xAC ";
    text.resize(length);
    return text;
}

Bytes utf16Text(size_t length, bool bigEndian)
{
    Bytes text;
    while (text.size() < length)
        text += bigEndian ? Bytes("\0x", 2) : Bytes("x\0", 2);
    text.resize(length);
    return text;
}

Bytes withMark(std::mt19937 &random, Bytes text)
{
    static const char *const marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    const Bytes mark = marks[random() % 3];
    return text.size() < mark.size() ? text : mark + text.substr(mark.size());
}

const std::vector<std::pair<const char *, Generator>> &generators()
{
    static const std::vector<std::pair<const char *, Generator>> all = {
        {"interesting bytes",
         [](std::mt19937 &r, size_t n) {
             Bytes b(n, 0);
             for (char &c : b)
                 c = char(interesting(r));
             return b;
         }},
        {"random bytes",
         [](std::mt19937 &r, size_t n) {
             Bytes b(n, 0);
             for (char &c : b)
                 c = char(r());
             return b;
         }},
        {"7-bit text", [](std::mt19937 &r, size_t n) { return sprinkled(r, filled(n, 'a')); }},
        {"UTF-8 text", [](std::mt19937 &r, size_t n) { return sprinkled(r, utf8Text(n)); }},
        {"continuations", [](std::mt19937 &r, size_t n) { return sprinkled(r, filled(n, '\x80')); }},
        {"UTF-16 LE", [](std::mt19937 &r, size_t n) { return sprinkled(r, utf16Text(n, false)); }},
        {"UTF-16 BE", [](std::mt19937 &r, size_t n) { return sprinkled(r, utf16Text(n, true)); }},
        {"zeros", [](std::mt19937 &r, size_t n) { return sprinkled(r, filled(n, 0)); }},
        {"marked UTF-8", [](std::mt19937 &r, size_t n) { return withMark(r, utf8Text(n)); }},
        {"marked UTF-16",
         [](std::mt19937 &r, size_t n) { return withMark(r, sprinkled(r, utf16Text(n, r() % 2))); }},
        // A single interesting byte in the last place, behind the last block.
        {"odd byte last",
         [](std::mt19937 &r, size_t n) {
             Bytes b = utf16Text(n, false);
             if (n > 0)
                 b[n - 1] = char(interesting(r));
             return b;
         }},
    };
    return all;
}

qint64 zerosAt(const Bytes &bytes, size_t from, size_t parity)
{
    qint64 count = 0;
    for (size_t i = from; i < bytes.size(); ++i)
        count += bytes[i] == 0 && i % 2 == parity;
    return count;
}

bool looksLikeUtf8(const Bytes &bytes, size_t from)
{
    bool highBit = false, violation = false;
    for (size_t i = from; i < bytes.size(); ++i) {
        highBit = highBit || (unsigned char)bytes[i] >= 0x80;
        violation = violation
            || (i > from && EncodingsDetail::utf8Forbids(bytes[i - 1], bytes[i]));
    }
    return highBit && !violation;
}

// Compares the scan of `bytes`, placed `alignment` bytes into a block of
// memory, with the plain loops; true when all agree.
void expectSameAsPlainLoops(const Bytes &bytes, size_t alignment, ScanInstructions instructions)
{
    std::vector<char> memory(bytes.size() + alignment + 1);
    char *start = memory.data() + alignment;
    std::copy(bytes.begin(), bytes.end(), start);
    const qint64 size = qint64(bytes.size());

    const ContentSummary summary = ScanContent(start, size, instructions);
    const CodingDetection plain = DetectCoding(start, size);
    ASSERT_EQ(summary.detection.bomKind, plain.bomKind);
    ASSERT_EQ(summary.detection.bomLength, plain.bomLength);
    ASSERT_EQ(summary.detection.contentGuess, plain.contentGuess);
    const size_t mark = size_t(plain.bomLength);
    ASSERT_EQ(summary.tallies.evenZeros, zerosAt(bytes, mark, 0));
    ASSERT_EQ(summary.tallies.oddZeros, zerosAt(bytes, mark, 1));
    ASSERT_EQ(summary.tallies.highBit && !summary.tallies.utf8Violation,
              looksLikeUtf8(bytes, mark));
    for (int encoding = EncodingAnsi; encoding <= EncodingUnicodeBigEndian; ++encoding)
        ASSERT_EQ(summary.hasNonPrintable(encoding), HasNonPrintable(start, size, encoding))
            << "encoding " << encoding;
}

TEST(ScanContent, EqualsThePlainLoopsOnEveryShortLengthAndAlignment)
{
    std::mt19937 random(7);
    for (ScanInstructions instructions : instructionSets()) {
        for (const auto &[name, generate] : generators()) {
            for (size_t length = 0; length <= 300; ++length) {
                for (size_t alignment = 0; alignment < 32; ++alignment) {
                    const Bytes bytes = generate(random, length);
                    SCOPED_TRACE(testing::Message() << name << ", length " << length
                                                    << ", alignment " << alignment
                                                    << ", instructions " << int(instructions));
                    expectSameAsPlainLoops(bytes, alignment, instructions);
                    if (HasFatalFailure())
                        return;
                }
            }
        }
    }
}

// Long buffers: the per-lane zero counts are gathered every 255 blocks.
TEST(ScanContent, EqualsThePlainLoopsOnLongBuffers)
{
    std::mt19937 random(11);
    const size_t lengths[] = {255 * 16, 255 * 32 + 17, 100'003, 1 << 20};
    for (ScanInstructions instructions : instructionSets()) {
        for (const auto &[name, generate] : generators()) {
            for (size_t length : lengths) {
                SCOPED_TRACE(testing::Message() << name << ", length " << length
                                                << ", instructions " << int(instructions));
                expectSameAsPlainLoops(generate(random, length), length % 7, instructions);
                if (HasFatalFailure())
                    return;
            }
        }
    }
}

} // namespace
