// What the AVX2 and the AVX-512 forms of the row loops share: the walk in
// blocks of eight rows, the plain loop a block falls back on, the limits
// within which their int32 texel indices cannot overflow, and the way an
// all-empty block fetches its eight texels. Included only by those two
// files, each compiled for its own processor.
#pragma once

#include <bit>
#include <cstdint>

#include "render/row_walk.h"
#include "render/running_sum.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

inline const uint32_t* texel_base(const WallTexels& texels) { return texels.column; }
inline const uint32_t* texel_base(const FaceTexels& texels) { return texels.texels; }

inline void walk_plain(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels) {
    walk_wall_rows_plain(p, count, v, step, texels);
}
inline void walk_plain(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels) {
    walk_face_rows_plain(p, count, q, step, texels);
}

// Whether every index a block can make, row * width + column for a wall and
// (row << shift) + column for a face, lies within int32.
inline bool indices_fit_int32(const WallTexels& texels) {
    return texels.mask >= 0 && texels.width >= 0 && (texels.mask + 1) * int64_t(texels.width) <= INT32_MAX;
}
inline bool indices_fit_int32(const FaceTexels& texels) {
    return texels.mask >= 0 && texels.mask <= INT32_MAX && texels.shift >= 0 && texels.shift <= 30 &&
           (texels.mask << texels.shift) + texels.mask <= INT32_MAX;
}

// Texture rows times the texels from one row to the next: a shift where
// that width is a power of two, as every texture's is, else a multiply,
// which takes several times as long.
__attribute__((target("avx2"))) inline __m256i row_offsets(__m256i rows, int32_t width) {
    const uint32_t w = uint32_t(width);
    if (std::has_single_bit(w)) return _mm256_sll_epi32(rows, _mm_cvtsi32_si128(std::countr_zero(w)));
    return _mm256_mullo_epi32(rows, _mm256_set1_epi32(width));
}

// Gives the eight pixels from p on the texels at index (into texels): eight
// plain loads serve a block of empty pixels faster than a gather does.
__attribute__((target("avx2"))) inline void load_eight_texels(uint32_t* p, const uint32_t* texels, __m256i index) {
    const __m128i low = _mm256_castsi256_si128(index), high = _mm256_extracti128_si256(index, 1);
    const uint64_t i01 = uint64_t(_mm_cvtsi128_si64(low)), i23 = uint64_t(_mm_extract_epi64(low, 1));
    const uint64_t i45 = uint64_t(_mm_cvtsi128_si64(high)), i67 = uint64_t(_mm_extract_epi64(high, 1));
    p[0] = texels[uint32_t(i01)];
    p[1] = texels[i01 >> 32];
    p[2] = texels[uint32_t(i23)];
    p[3] = texels[i23 >> 32];
    p[4] = texels[uint32_t(i45)];
    p[5] = texels[i45 >> 32];
    p[6] = texels[uint32_t(i67)];
    p[7] = texels[i67 >> 32];
}

// The walk in blocks of eight rows, for either kind of texels: a block
// where the running sum stays exact (v + 8R in v's binade) is filled by
// Blocks::fill; eight plain rows where the sum leaves its binade, and where
// fill finds a value beyond int32; the last rows by Blocks::fill_last where
// one more block would be exact, else plain. Blocks::steps(R) holds kR for
// k = 0 .. 7 and R8 = 8R. The forms flatten their entry points, so that
// this loop and their block functions are compiled as one function.
template <typename Blocks, typename Texels>
inline void walk_in_blocks(uint32_t* p, int32_t count, double v, double step, const Texels& texels) {
    int32_t k = 0;
    RunningSum sum = running_sum(v, step);
    auto steps = Blocks::steps(sum.R);
    for (; k + 8 <= count; k += 8) {
        const double next = v + steps.R8;
        if (next >= sum.low && next <= sum.high) {
            if (!Blocks::fill(p + k, v, steps, texels)) walk_plain(p + k, 8, v, step, texels);
            v = next;
        } else {
            walk_plain(p + k, 8, v, step, texels);
            for (int32_t j = 0; j < 8; ++j) v += step;
            sum = running_sum(v, step);
            steps = Blocks::steps(sum.R);
        }
    }
    const int32_t rest = count - k;
    const double next = v + steps.R8;
    if (rest > 0 && next >= sum.low && next <= sum.high && Blocks::fill_last(p + k, rest, v, steps, texels)) return;
    walk_plain(p + k, rest, v, step, texels);
}

#endif
