// The eight-row forms of the row loops, for processors with AVX2; only
// these functions are compiled for it, and walk_wall_rows and walk_face_rows
// call them only where avx2_usable() says so. Each block of eight rows holds
// v + kR for k = 0 .. 7 (exact while v + 8R stays in v's binade), loads its
// eight pixels once, fetches texels for the empty ones only (a masked
// gather) and stores the eight back.
#include "render/row_walk.h"

#include "render/row_walk_blocks.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace {

// kR for k = 0 .. 3 and 4 .. 7, and 8R; exact wherever a block uses them,
// since v + 8R then lies in v's binade.
struct EightSteps {
    __m256d low, high;
    double R8;
};

__attribute__((target("avx2"))) EightSteps eight_steps(double R) {
    return {_mm256_set_pd(3 * R, 2 * R, R, 0), _mm256_set_pd(7 * R, 6 * R, 5 * R, 4 * R), 8 * R};
}

// Eight values truncated to int32. A value beyond int32 (or NaN) gives
// 0x80000000; within int32 the truncation gives the low bits of the plain one.
__attribute__((target("avx2"))) inline __m256i truncate_eight(__m256d low, __m256d high) {
    return _mm256_set_m128i(_mm256_cvttpd_epi32(high), _mm256_cvttpd_epi32(low));
}

// All ones in each lane that holds 0x80000000, the mark of a value beyond
// int32; within_int32 is true when no lane of such a mark is set.
__attribute__((target("avx2"))) inline __m256i beyond_int32(__m256i t) {
    return _mm256_cmpeq_epi32(t, _mm256_set1_epi32(INT32_MIN));
}

__attribute__((target("avx2"))) inline bool within_int32(__m256i beyond) {
    return _mm256_testz_si256(beyond, beyond) != 0;
}

// Fills the empty ones of the eight pixels from p on with the texels at
// index (into texels), keeping the drawn ones. Eight plain loads serve an
// all-empty block faster than a gather does; a masked gather serves the rest.
__attribute__((target("avx2"))) inline void gather_into_empty(uint32_t* p, __m256i pixels, __m256i empty,
                                                               const uint32_t* texels, __m256i index) {
    if (_mm256_movemask_epi8(empty) == -1) {
        load_eight_texels(p, texels, index);
        return;
    }
    const __m256i filled =
        _mm256_mask_i32gather_epi32(pixels, reinterpret_cast<const int*>(texels), index, empty, 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), filled);
}

// Wall rows: texel row (trunc(v) & mask) of the column, as indices into the
// column; false where a value leaves int32.
__attribute__((target("avx2"))) inline bool texel_indices(const WallTexels& texels, __m256d low, __m256d high,
                                                          __m256i& index) {
    const __m256i t = truncate_eight(low, high);
    if (!within_int32(beyond_int32(t))) return false;
    const __m256i rows = _mm256_and_si256(t, _mm256_set1_epi32(int32_t(texels.mask)));
    index = row_offsets(rows, texels.width);
    return true;
}

// Face rows: p = 1 / q, coordinates k * p + o, as the plain form computes them.
// Both coordinates are converted before the one test for a value beyond int32.
__attribute__((target("avx2"))) inline bool texel_indices(const FaceTexels& texels, __m256d qLow, __m256d qHigh,
                                                          __m256i& index) {
    const __m256d one = _mm256_set1_pd(1);
    const __m256d pLow = _mm256_div_pd(one, qLow), pHigh = _mm256_div_pd(one, qHigh);
    const __m256d kx = _mm256_set1_pd(texels.kx), ox = _mm256_set1_pd(texels.ox);
    const __m256d ky = _mm256_set1_pd(texels.ky), oy = _mm256_set1_pd(texels.oy);
    const __m256i tx =
        truncate_eight(_mm256_add_pd(_mm256_mul_pd(kx, pLow), ox), _mm256_add_pd(_mm256_mul_pd(kx, pHigh), ox));
    const __m256i ty =
        truncate_eight(_mm256_add_pd(_mm256_mul_pd(ky, pLow), oy), _mm256_add_pd(_mm256_mul_pd(ky, pHigh), oy));
    if (!within_int32(_mm256_or_si256(beyond_int32(tx), beyond_int32(ty)))) return false;
    const __m256i mask = _mm256_set1_epi32(int32_t(texels.mask));
    const __m256i row = _mm256_sll_epi32(_mm256_and_si256(ty, mask), _mm_cvtsi32_si128(texels.shift));
    index = _mm256_add_epi32(row, _mm256_and_si256(tx, mask));
    return true;
}

// The blocks: eight values in two registers of four, the empty pixels as a
// vector mask.
struct Blocks {
    static __attribute__((target("avx2"))) EightSteps steps(double R) { return eight_steps(R); }

    // Fills the empty ones of the eight pixels from p on; false where a
    // value leaves int32, with nothing written.
    template <typename Texels>
    static __attribute__((target("avx2"))) bool fill(uint32_t* p, double v, const EightSteps& steps,
                                                     const Texels& texels) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i empty = _mm256_cmpeq_epi32(pixels, _mm256_setzero_si256());
        if (_mm256_testz_si256(empty, empty)) return true;
        const __m256d base = _mm256_set1_pd(v);
        __m256i index;
        if (!texel_indices(texels, _mm256_add_pd(base, steps.low), _mm256_add_pd(base, steps.high), index))
            return false;
        gather_into_empty(p, pixels, empty, texel_base(texels), index);
        return true;
    }

    // The same for the first `rest` (1 to 7) of them: the rows past the
    // walk's end are masked out of the load, the gather and the store.
    template <typename Texels>
    static __attribute__((target("avx2"))) bool fill_last(uint32_t* p, int32_t rest, double v,
                                                          const EightSteps& steps, const Texels& texels) {
        const __m256d base = _mm256_set1_pd(v);
        __m256i index;
        if (!texel_indices(texels, _mm256_add_pd(base, steps.low), _mm256_add_pd(base, steps.high), index))
            return false;
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i inWalk = _mm256_cmpgt_epi32(_mm256_set1_epi32(rest), lane);
        const __m256i pixels = _mm256_maskload_epi32(reinterpret_cast<const int*>(p), inWalk);
        const __m256i empty = _mm256_and_si256(inWalk, _mm256_cmpeq_epi32(pixels, _mm256_setzero_si256()));
        const __m256i filled =
            _mm256_mask_i32gather_epi32(pixels, reinterpret_cast<const int*>(texel_base(texels)), index, empty, 4);
        _mm256_maskstore_epi32(reinterpret_cast<int*>(p), inWalk, filled);
        return true;
    }
};

}  // namespace

__attribute__((target("avx2"), flatten)) void walk_wall_rows_by_eight(uint32_t* p, int32_t count, double v,
                                                                      double step, const WallTexels& texels) {
    if (!indices_fit_int32(texels)) return walk_wall_rows_plain(p, count, v, step, texels);
    walk_in_blocks<Blocks>(p, count, v, step, texels);
}

__attribute__((target("avx2"), flatten)) void walk_face_rows_by_eight(uint32_t* p, int32_t count, double q,
                                                                      double step, const FaceTexels& texels) {
    if (!indices_fit_int32(texels)) return walk_face_rows_plain(p, count, q, step, texels);
    walk_in_blocks<Blocks>(p, count, q, step, texels);
}

bool avx2_usable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

#else

void walk_wall_rows_by_eight(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels) {
    walk_wall_rows_by_four(p, count, v, step, texels);
}

void walk_face_rows_by_eight(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels) {
    walk_face_rows_plain(p, count, q, step, texels);
}

bool avx2_usable() { return false; }

#endif
