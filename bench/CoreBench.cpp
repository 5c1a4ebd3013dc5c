#include "engine/run/ApplyStringPair.h"
#include "engine/run/SilentHost.h"
#include "engine/text/ContentScan.h"
#include "engine/text/Encodings.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

namespace {

constexpr qint64 TextSize = qint64(64) << 20;

// About 64 MiB of prose-like lines in the encoding: common English words,
// some accented ones, CR LF line ends.
const QByteArray &sampleText(int encoding)
{
    static QByteArray texts[5];
    QByteArray &text = texts[encoding];
    if (!text.isEmpty())
        return text;
    const char *words[] = {"the",  "quick",  "brown", "fox",         "jumps",   "over",
                           "lazy", "dog",    "and",   "caf\xE9",     "cr\xE8me", "na\xEFve",
                           "data", "buffer", "line",  "replacement", "of",      "text"};
    std::mt19937 random(1);
    const qint64 ansiSize = encoding >= EncodingUnicode ? TextSize / 2 : TextSize;
    QByteArray ansi;
    ansi.reserve(ansiSize + 100);
    while (ansi.size() < ansiSize) {
        for (int i = 0; i < 12; ++i) {
            ansi += words[random() % std::size(words)];
            ansi += ' ';
        }
        ansi += "\r\n";
    }
    ansi.truncate(ansiSize);
    text = EncodeReplacement(CodePage::toQString(ansi), encoding);
    return text;
}

// About 8 MiB of words between runs of 4,000 blanks: Normalize patterns
// that start with a space must not read each run once per blank.
const QByteArray &blankRunsText()
{
    static QByteArray text;
    if (text.isEmpty()) {
        const QByteArray piece = "word" + QByteArray(4000, ' ');
        while (text.size() < (qint64(8) << 20))
            text += piece;
    }
    return text;
}

struct Case {
    int encoding;
    const char *find;
    const char *replacement;
    const char *options;
};

void applyPairTo(benchmark::State &state, const QByteArray &text, const Case &c)
{
    SilentHost host;
    RunState runState;
    runState.PromptEachReplacement = false;
    Job job;
    RunContext run{host, runState, job};
    ByteBuffer buffer;
    FileCounters counters;
    for (auto _ : state) {
        state.PauseTiming();
        buffer.allocate(text.size());
        std::memcpy(buffer.data(), text.constData(), size_t(text.size()));
        buffer.setLength(text.size());
        counters = {};
        state.ResumeTiming();
        ApplyStringPair(buffer, c.find, c.replacement, c.options, "bench.txt", counters,
                        c.encoding, 0, run);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.counters["replacements"] = double(counters.replacements);
}

void applyPair(benchmark::State &state, Case c)
{
    applyPairTo(state, sampleText(c.encoding), c);
}

void applyPairToBlankRuns(benchmark::State &state, Case c)
{
    applyPairTo(state, blankRunsText(), c);
}

BENCHMARK_CAPTURE(applyPair, ansiNoMatchCaseSensitive, Case{EncodingAnsi, "zebra", "z", "c"});
BENCHMARK_CAPTURE(applyPair, ansiNoMatchIgnoringCase, Case{EncodingAnsi, "zebra", "z", ""});
BENCHMARK_CAPTURE(applyPair, utf8Literal, Case{EncodingUtf8, "caf\xE9 zebra", "z", ""});
BENCHMARK_CAPTURE(applyPair, utf16Literal, Case{EncodingUnicode, "caf\xE9 zebra", "z", ""});
BENCHMARK_CAPTURE(applyPair, ansiWildcard, Case{EncodingAnsi, "fox*dog", "cat", "(?*)"});
BENCHMARK_CAPTURE(applyPair, ansiWholeWords, Case{EncodingAnsi, "over", "under", "w"});
BENCHMARK_CAPTURE(applyPair, ansiManyMatches, Case{EncodingAnsi, "the", "THE", "c"});
BENCHMARK_CAPTURE(applyPairToBlankRuns, normalizeOverBlankRuns, Case{EncodingAnsi, " zebra", "z", "n"});

// The coding and binary checks of every file: one vectorised pass, against
// the plain loops it replaces (the detection, then the binary test).
void contentScan(benchmark::State &state, ScanInstructions instructions)
{
    const QByteArray &text = sampleText(int(state.range(0)));
    if (instructions == ScanInstructions::Avx2 && !ProcessorHasAvx2())
        state.SkipWithError("no AVX2");
    for (auto _ : state)
        benchmark::DoNotOptimize(ScanContent(text.constData(), text.size(), instructions));
    state.SetBytesProcessed(state.iterations() * text.size());
}

void plainContentLoops(benchmark::State &state)
{
    const QByteArray &text = sampleText(int(state.range(0)));
    for (auto _ : state) {
        const CodingDetection detection = DetectCoding(text.constData(), text.size());
        benchmark::DoNotOptimize(HasNonPrintable(text.constData(), text.size(), detection.contentGuess));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

BENCHMARK_CAPTURE(contentScan, sse2, ScanInstructions::Sse2)->Arg(EncodingUtf8)->Arg(EncodingUnicode);
BENCHMARK_CAPTURE(contentScan, avx2, ScanInstructions::Avx2)->Arg(EncodingUtf8)->Arg(EncodingUnicode);
BENCHMARK(plainContentLoops)->Arg(EncodingUtf8)->Arg(EncodingUnicode);

} // namespace

BENCHMARK_MAIN();
