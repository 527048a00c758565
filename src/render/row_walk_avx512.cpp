// The eight-row forms of the row loops for processors with AVX-512 (F and
// VL); only these functions are compiled for it, and walk_wall_rows and
// walk_face_rows call them only where avx512_usable() says so. They take the
// blocks of row_walk_avx2.cpp, with a block's eight values in one register:
// a face's eight divisions are one instruction, and the empty pixels are a
// mask, which the gather and the last rows' load and store take directly.
#include "render/row_walk.h"

#include "render/row_walk_blocks.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define QV_AVX512 __attribute__((target("avx2,avx512f,avx512vl")))

namespace {

// kR for k = 0 .. 7, and 8R; exact wherever a block uses them, since v + 8R
// then lies in v's binade.
struct EightSteps {
    __m512d k;
    double R8;
};

QV_AVX512 EightSteps eight_steps(double R) {
    return {_mm512_set_pd(7 * R, 6 * R, 5 * R, 4 * R, 3 * R, 2 * R, R, 0), 8 * R};
}

// The eight values truncated to int32 (the all-lanes mask form, which GCC
// does not take for reading an undefined register).
QV_AVX512 inline __m256i truncate_eight(__m512d v) { return _mm512_maskz_cvttpd_epi32(0xFF, v); }

// Lanes whose truncation left int32 (or was NaN): those give 0x80000000;
// within int32 the truncation gives the low bits of the plain one.
QV_AVX512 inline __mmask8 beyond_int32(__m256i t) { return _mm256_cmpeq_epi32_mask(t, _mm256_set1_epi32(INT32_MIN)); }

// Wall rows: texel row (trunc(v) & mask) of the column, as indices into the
// column; false where a value leaves int32.
QV_AVX512 inline bool texel_indices(const WallTexels& texels, __m512d v, __m256i& index) {
    const __m256i t = truncate_eight(v);
    if (beyond_int32(t) != 0) return false;
    const __m256i rows = _mm256_and_si256(t, _mm256_set1_epi32(int32_t(texels.mask)));
    index = row_offsets(rows, texels.width);
    return true;
}

// Face rows: p = 1 / q, coordinates k * p + o, as the plain form computes them.
QV_AVX512 inline bool texel_indices(const FaceTexels& texels, __m512d q, __m256i& index) {
    const __m512d p = _mm512_div_pd(_mm512_set1_pd(1), q);
    const __m256i tx = truncate_eight(_mm512_add_pd(_mm512_mul_pd(_mm512_set1_pd(texels.kx), p),
                                                         _mm512_set1_pd(texels.ox)));
    const __m256i ty = truncate_eight(_mm512_add_pd(_mm512_mul_pd(_mm512_set1_pd(texels.ky), p),
                                                         _mm512_set1_pd(texels.oy)));
    if ((beyond_int32(tx) | beyond_int32(ty)) != 0) return false;
    const __m256i mask = _mm256_set1_epi32(int32_t(texels.mask));
    const __m256i row = _mm256_sll_epi32(_mm256_and_si256(ty, mask), _mm_cvtsi32_si128(texels.shift));
    index = _mm256_add_epi32(row, _mm256_and_si256(tx, mask));
    return true;
}

// Fills the pixels of `empty` among the eight from p on with the texels at
// index, keeping the rest, and writes only the pixels of `rows`. Eight plain
// loads serve a block of eight empty rows faster than a gather does.
QV_AVX512 inline void gather_into(uint32_t* p, __m256i pixels, __mmask8 empty, __mmask8 rows, const uint32_t* texels,
                                  __m256i index) {
    if (empty == 0xFF) {
        load_eight_texels(p, texels, index);
        return;
    }
    const __m256i filled =
        _mm256_mmask_i32gather_epi32(pixels, empty, index, reinterpret_cast<const int*>(texels), 4);
    _mm256_mask_storeu_epi32(p, rows, filled);
}

// The blocks: eight values in one register, the empty pixels as a mask.
struct Blocks {
    static QV_AVX512 EightSteps steps(double R) { return eight_steps(R); }

    // Fills the empty ones of the eight pixels from p on; false where a
    // value leaves int32, with nothing written.
    template <typename Texels>
    static QV_AVX512 bool fill(uint32_t* p, double v, const EightSteps& steps, const Texels& texels) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __mmask8 empty = _mm256_testn_epi32_mask(pixels, pixels);
        if (empty == 0) return true;
        __m256i index;
        if (!texel_indices(texels, _mm512_add_pd(_mm512_set1_pd(v), steps.k), index)) return false;
        gather_into(p, pixels, empty, 0xFF, texel_base(texels), index);
        return true;
    }

    // The same for the first `rest` (1 to 7) of them: the rows past the
    // walk's end are masked out of the load, the gather and the store.
    template <typename Texels>
    static QV_AVX512 bool fill_last(uint32_t* p, int32_t rest, double v, const EightSteps& steps,
                                    const Texels& texels) {
        __m256i index;
        if (!texel_indices(texels, _mm512_add_pd(_mm512_set1_pd(v), steps.k), index)) return false;
        const __mmask8 inWalk = __mmask8((1u << rest) - 1);
        const __m256i pixels = _mm256_maskz_loadu_epi32(inWalk, p);
        gather_into(p, pixels, _mm256_mask_testn_epi32_mask(inWalk, pixels, pixels), inWalk, texel_base(texels),
                    index);
        return true;
    }
};

}  // namespace

QV_AVX512 __attribute__((flatten)) void walk_wall_rows_avx512(uint32_t* p, int32_t count, double v, double step,
                                                          const WallTexels& texels) {
    if (!indices_fit_int32(texels)) return walk_wall_rows_plain(p, count, v, step, texels);
    walk_in_blocks<Blocks>(p, count, v, step, texels);
}

QV_AVX512 __attribute__((flatten)) void walk_face_rows_avx512(uint32_t* p, int32_t count, double q, double step,
                                                          const FaceTexels& texels) {
    if (!indices_fit_int32(texels)) return walk_face_rows_plain(p, count, q, step, texels);
    walk_in_blocks<Blocks>(p, count, q, step, texels);
}

bool avx512_usable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
}

#else

void walk_wall_rows_avx512(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels) {
    walk_wall_rows_by_eight(p, count, v, step, texels);
}

void walk_face_rows_avx512(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels) {
    walk_face_rows_by_eight(p, count, q, step, texels);
}

bool avx512_usable() { return false; }

#endif
