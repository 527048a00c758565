// The plain and the four-row forms of the row loops, and the choice between
// them and the eight-row forms of row_walk_avx2.cpp.
#include "render/row_walk.h"

#include <cstddef>

#include "render/running_sum.h"

namespace {

#if defined(__SSE2__)
// Four wall rows from the values in two pairs, false when one lies beyond
// int32 (or is NaN), where the conversion gives 0x80000000: those rows are
// then taken one by one. Within int32 the truncation gives the same rows.
bool draw_four_wall_rows(uint32_t* p, const WallTexels& texels, __m128d lo, __m128d hi) {
    const __m128i t = _mm_unpacklo_epi64(_mm_cvttpd_epi32(lo), _mm_cvttpd_epi32(hi));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(t, _mm_set1_epi32(INT32_MIN))) != 0) return false;
    // The four rows leave through two 64-bit moves rather than through memory.
    const __m128i rows = _mm_and_si128(t, _mm_set1_epi32(int32_t(texels.mask)));
    const uint64_t low = uint64_t(_mm_cvtsi128_si64(rows));
    const uint64_t high = uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(rows, rows)));
    const ptrdiff_t width = texels.width;
    p[0] = texels.column[ptrdiff_t(uint32_t(low)) * width];
    p[1] = texels.column[ptrdiff_t(uint32_t(low >> 32)) * width];
    p[2] = texels.column[ptrdiff_t(uint32_t(high)) * width];
    p[3] = texels.column[ptrdiff_t(uint32_t(high >> 32)) * width];
    return true;
}
#endif

}  // namespace

// A wall texel costs a conversion and a load, less than a mispredicted
// branch on the pixel: each row reads its texel and keeps it where empty.
void walk_wall_rows_plain(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels) {
    for (int32_t k = 0; k < count; ++k) {
        const uint32_t pixel = p[k], texel = texels(v);
        p[k] = pixel != 0 ? pixel : texel;
        v += step;
    }
}

void walk_face_rows_plain(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels) {
    for (int32_t k = 0; k < count; ++k) {
        if (p[k] == 0) p[k] = texels(q);
        q += step;
    }
}

void walk_wall_rows_by_four(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels) {
    int32_t k = 0;
    RunningSum sum = running_sum(v, step);
    for (; k + 4 <= count; k += 4) {
        const double next = v + sum.R4;
        if (next >= sum.low && next <= sum.high) {
            // Rows k .. k + 3 hold v, v + R, v + 2R, v + 3R, each exact.
            const int32_t empty = empty_of_four(p + k);
            bool drawn = empty == 0;
#if defined(__SSE2__)
            if (empty == 0xF) {
                const __m128d base = _mm_set1_pd(v);
                drawn = draw_four_wall_rows(p + k, texels, _mm_add_pd(base, _mm_set_pd(sum.R, 0)),
                                            _mm_add_pd(base, _mm_set_pd(sum.R3, sum.R2)));
            }
#endif
            if (!drawn) {
                if (p[k] == 0) p[k] = texels(v);
                if (p[k + 1] == 0) p[k + 1] = texels(v + sum.R);
                if (p[k + 2] == 0) p[k + 2] = texels(v + sum.R2);
                if (p[k + 3] == 0) p[k + 3] = texels(v + sum.R3);
            }
            v = next;
        } else {
            // Into the next binade (or none to stay in): four plain additions.
            walk_wall_rows_plain(p + k, 4, v, step, texels);
            for (int32_t j = 0; j < 4; ++j) v += step;
            sum = running_sum(v, step);
        }
    }
    walk_wall_rows_plain(p + k, count - k, v, step, texels);
}

void walk_wall_rows(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels) {
    static const bool avx512 = avx512_usable(), avx2 = avx2_usable();
    if (avx512) walk_wall_rows_avx512(p, count, v, step, texels);
    else if (avx2) walk_wall_rows_by_eight(p, count, v, step, texels);
    else walk_wall_rows_by_four(p, count, v, step, texels);
}

void walk_face_rows(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels) {
    static const bool avx512 = avx512_usable(), avx2 = avx2_usable();
    if (avx512) walk_face_rows_avx512(p, count, q, step, texels);
    else if (avx2) walk_face_rows_by_eight(p, count, q, step, texels);
    else walk_face_rows_plain(p, count, q, step, texels);
}
