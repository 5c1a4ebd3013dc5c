// Compiled with AVX2 enabled; called only where the processor has it.
#include "engine/text/ContentScanKernel.h"

#include <immintrin.h>

namespace {

struct Avx2Ops {
    using V = __m256i;
    static constexpr int64_t Width = 32;

    static V zero() { return _mm256_setzero_si256(); }
    static V splat(char byte) { return _mm256_set1_epi8(byte); }
    static V load(const unsigned char *at)
    {
        return _mm256_loadu_si256(reinterpret_cast<const V *>(at));
    }
    static V eq(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
    static V gt(V a, V b) { return _mm256_cmpgt_epi8(a, b); }
    static V minU(V a, V b) { return _mm256_min_epu8(a, b); }
    static V sub(V a, V b) { return _mm256_sub_epi8(a, b); }
    static V band(V a, V b) { return _mm256_and_si256(a, b); }
    static V bor(V a, V b) { return _mm256_or_si256(a, b); }
    static V andNot(V a, V b) { return _mm256_andnot_si256(a, b); } // b without a
    static uint32_t mask(V v) { return uint32_t(_mm256_movemask_epi8(v)); }

    static int64_t sumEvenLanes(V counts)
    {
        return sumQuarters(
            _mm256_sad_epu8(_mm256_and_si256(counts, _mm256_set1_epi16(0x00FF)), zero()));
    }
    static int64_t sumOddLanes(V counts)
    {
        return sumQuarters(_mm256_sad_epu8(_mm256_srli_epi16(counts, 8), zero()));
    }
    static int64_t sumQuarters(V sums)
    {
        return _mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1)
            + _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3);
    }
};

} // namespace

void scanBlocksAvx2(const unsigned char *bytes, int64_t begin, int64_t end, ContentTallies &tallies)
{
    scanBlocks<Avx2Ops>(bytes, begin, end, tallies);
}
