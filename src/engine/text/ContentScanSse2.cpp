#include "engine/text/ContentScanKernel.h"

#include <emmintrin.h>

namespace {

struct Sse2Ops {
    using V = __m128i;
    static constexpr int64_t Width = 16;

    static V zero() { return _mm_setzero_si128(); }
    static V splat(char byte) { return _mm_set1_epi8(byte); }
    static V load(const unsigned char *at) { return _mm_loadu_si128(reinterpret_cast<const V *>(at)); }
    static V eq(V a, V b) { return _mm_cmpeq_epi8(a, b); }
    static V gt(V a, V b) { return _mm_cmpgt_epi8(a, b); }
    static V minU(V a, V b) { return _mm_min_epu8(a, b); }
    static V sub(V a, V b) { return _mm_sub_epi8(a, b); }
    static V band(V a, V b) { return _mm_and_si128(a, b); }
    static V bor(V a, V b) { return _mm_or_si128(a, b); }
    static V andNot(V a, V b) { return _mm_andnot_si128(a, b); } // b without a
    static uint32_t mask(V v) { return uint32_t(_mm_movemask_epi8(v)); }

    static int64_t sumEvenLanes(V counts)
    {
        return sumHalves(_mm_sad_epu8(_mm_and_si128(counts, _mm_set1_epi16(0x00FF)), zero()));
    }
    static int64_t sumOddLanes(V counts)
    {
        return sumHalves(_mm_sad_epu8(_mm_srli_epi16(counts, 8), zero()));
    }
    static int64_t sumHalves(V sums)
    {
        return _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    }
};

} // namespace

void scanBlocksSse2(const unsigned char *bytes, int64_t begin, int64_t end, ContentTallies &tallies)
{
    scanBlocks<Sse2Ops>(bytes, begin, end, tallies);
}
