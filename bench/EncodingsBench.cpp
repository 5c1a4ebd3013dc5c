#include "engine/text/CodePage.h"
#include "engine/text/Encodings.h"

#include <benchmark/benchmark.h>

namespace {

// About 1 MB of mixed Latin text in the encoding under test.
QByteArray sampleText(int encoding)
{
    const QByteArray line = "Caf\xE9 cr\xE8me br\xFBl\xE9" "e, 42 \x80 and plain ASCII words.\r\n";
    return EncodeReplacement(CodePage::toQString(line.repeated((1 << 20) / line.size())), encoding);
}

// The matcher's inner loop: read every character and fold its case.
void decodeAndFold(benchmark::State &state)
{
    const int encoding = int(state.range(0));
    const QByteArray text = sampleText(encoding);
    for (auto _ : state) {
        qint64 pos = 0;
        char32_t c = 0;
        unsigned sum = 0;
        while (DecodeCharacter(text.constData(), pos, text.size(), encoding, c))
            sum += CodePage::characterUpper(c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(decodeAndFold)->DenseRange(EncodingAnsi, EncodingUnicodeBigEndian);

void detectCoding(benchmark::State &state)
{
    const QByteArray text = sampleText(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectCoding(text.constData(), text.size()));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(detectCoding)->Arg(EncodingUtf8)->Arg(EncodingUnicode);

} // namespace

BENCHMARK_MAIN();
