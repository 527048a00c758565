// The row loop the span drawers share: a value that grows by a step each row
// picks each empty pixel's texel, four rows at a time where the running sum
// allows it, so that the rows do not wait on one addition after another,
// four empty pixels are sampled together and four drawn ones cost one test.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/running_sum.h"

// Which of the four pixels from p on are empty (0): bit k for pixel k.
inline int32_t empty_of_four(const uint32_t* p) {
#if defined(__SSE2__)
    const __m128i empty = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    return _mm_movemask_ps(_mm_castsi128_ps(empty));
#else
    return (p[0] == 0) | (p[1] == 0) << 1 | (p[2] == 0) << 2 | (p[3] == 0) << 3;
#endif
}

// Gives each empty pixel of p[0 .. count) the texel sample(v_k), where v_0 = v
// and v_k+1 = v_k + step: the values a plain loop adding step row by row has,
// bit for bit. Drawn pixels keep theirs. Sample gives one texel for a value
// and, with SSE2, draw_four fills four empty pixels from the values in two
// pairs, or returns false to have them taken one by one.
template <typename Sample>
void walk_rows(uint32_t* p, int32_t count, double v, double step, const Sample sample) {
    int32_t k = 0;
    RunningSum sum = running_sum(v, step);
    while (k + 4 <= count) {
        const double next = v + sum.R4;
        if (next >= sum.low && next <= sum.high) {
            // Rows k .. k + 3 hold v, v + R, v + 2R, v + 3R, each exact.
            const int32_t empty = empty_of_four(p + k);
            bool drawn = empty == 0;
#if defined(__SSE2__)
            if (empty == 0xF) {
                const __m128d base = _mm_set1_pd(v);
                drawn = sample.draw_four(p + k, _mm_add_pd(base, _mm_set_pd(sum.R, 0)),
                                         _mm_add_pd(base, _mm_set_pd(sum.R3, sum.R2)));
            }
#endif
            if (!drawn) {
                if (p[k] == 0) p[k] = sample(v);
                if (p[k + 1] == 0) p[k + 1] = sample(v + sum.R);
                if (p[k + 2] == 0) p[k + 2] = sample(v + sum.R2);
                if (p[k + 3] == 0) p[k + 3] = sample(v + sum.R3);
            }
            v = next;
        } else {
            // Into the next binade (or none to stay in): four plain additions.
            for (int32_t j = k; j < k + 4; ++j) {
                if (p[j] == 0) p[j] = sample(v);
                v += step;
            }
            sum = running_sum(v, step);
        }
        k += 4;
    }
    for (; k < count; ++k) {
        if (p[k] == 0) p[k] = sample(v);
        v += step;
    }
}
