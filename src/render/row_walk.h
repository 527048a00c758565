// The row loops of the span drawers. A value that grows by a step each row
// (v += step) picks each empty pixel's texel: down a wall's texture column,
// or, for a face, the denominator of the perspective division. Where the
// running sum stays in one binade its values are known in closed form
// (running_sum.h), so rows are taken several at a time: they do not wait on
// one addition after another, empty pixels are sampled together and drawn
// ones cost one test. The pixels are those of the plain loop, bit for bit.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/numeric.h"

// Which of the four pixels from p on are empty (0): bit k for pixel k.
inline int32_t empty_of_four(const uint32_t* p) {
#if defined(__SSE2__)
    const __m128i empty = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    return _mm_movemask_ps(_mm_castsi128_ps(empty));
#else
    return (p[0] == 0) | (p[1] == 0) << 1 | (p[2] == 0) << 2 | (p[3] == 0) << 3;
#endif
}

// Which of the eight pixels from p on are empty (0), as a bit mask.
inline int32_t empty_of_eight(const uint32_t* p) { return empty_of_four(p) | empty_of_four(p + 4) << 4; }

// Whether every pixel of p[0 .. count) is drawn (non-zero).
inline bool all_drawn(const uint32_t* p, int32_t count) {
    int32_t k = 0;
    for (; k + 8 <= count; k += 8)
        if (empty_of_eight(p + k) != 0) return false;
    for (; k + 4 <= count; k += 4)
        if (empty_of_four(p + k) != 0) return false;
    for (; k < count; ++k)
        if (p[k] == 0) return false;
    return true;
}

// A wall's texels down one texture column, by the texture row v.
struct WallTexels {
    const uint32_t* column;  // the column's texel in texture row 0
    int32_t width;           // texels from one texture row to the next
    int64_t mask;            // texture rows wrap at mask + 1

    uint32_t operator()(double v) const { return column[wrap_texel(v, mask) * width]; }
};

// A face's texels, by the denominator q of a row: texel coordinates are
// k * (1 / q) + o, wrapped by mask, the row shifted by shift.
struct FaceTexels {
    const uint32_t* texels;
    int64_t mask;
    int32_t shift;
    double kx, ky, ox, oy;

    uint32_t operator()(double q) const {
        const double p = 1 / q;
        const int64_t tx = wrap_texel(kx * p + ox, mask);
        const int64_t ty = wrap_texel(ky * p + oy, mask);
        return texels[(ty << shift) + tx];
    }
};

// Gives each empty pixel of p[0 .. count) (adjacent rows) the texel of v_k,
// where v_0 = v and v_k+1 = v_k + step; drawn pixels keep theirs. These pick
// the processor's widest form.
void walk_wall_rows(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels);
void walk_face_rows(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels);

// The forms to pick from: one row at a time; four (SSE2); eight with AVX2,
// only where avx2_usable() says the processor and the system allow it; eight
// with AVX-512, only where avx512_usable() says so.
void walk_wall_rows_plain(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels);
void walk_face_rows_plain(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels);
void walk_wall_rows_by_four(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels);
void walk_wall_rows_by_eight(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels);
void walk_face_rows_by_eight(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels);
bool avx2_usable();
void walk_wall_rows_avx512(uint32_t* p, int32_t count, double v, double step, const WallTexels& texels);
void walk_face_rows_avx512(uint32_t* p, int32_t count, double q, double step, const FaceTexels& texels);
bool avx512_usable();
