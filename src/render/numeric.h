// Conversions from doubles to integers that are defined for every input.
// Projected rows and texture coordinates can grow without bound (a surface
// at depth near 0) or turn NaN (degenerate geometry); a plain conversion of
// such a value to int32 is undefined, so every conversion goes through here.
#pragma once

#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#endif

// Rows beyond +-2^30 lie far off the screen and behave alike; clamping there
// keeps row + 1 and row - 1 representable.
constexpr double RowLimit = 1073741824.0;

// trunc(v) for rows: clamped to [-2^30, 2^30], NaN gives 0.
inline int32_t trunc_row(double v) {
    if (v > -RowLimit && v < RowLimit) return int32_t(v);
    if (v >= RowLimit) return int32_t(RowLimit);
    if (v <= -RowLimit) return -int32_t(RowLimit);
    return 0;
}

// trunc(v) for coordinates that are wrapped afterwards (masked or reduced
// modulo a size): exact in 64 bits, so the low bits are those of the true
// value; beyond +-2^62 (and for NaN) 0.
inline int64_t trunc_wide(double v) {
    constexpr double limit = 4611686018427387904.0;
    if (v > -limit && v < limit) return int64_t(v);
    return 0;
}

// trunc(v) & mask for a texel coordinate in a hot loop, with mask < 2^10.
// On x86-64 the conversion instruction gives INT64_MIN (low bits 0) for NaN
// and for values beyond +-2^63, and every double beyond +-2^62 is a multiple
// of 2^10, so this equals trunc_wide(v) & mask for every input.
inline int64_t wrap_texel(double v, int64_t mask) {
#if defined(__x86_64__) || defined(_M_X64)
    return _mm_cvttsd_si64(_mm_set_sd(v)) & mask;
#else
    return trunc_wide(v) & mask;
#endif
}

// Two divisions at once, a0 / b0 and a1 / b1, each rounded exactly as the
// scalar division rounds it: a packed division of two costs what one does.
struct Quotients {
    double first, second;
};

inline Quotients divide_pair(double a0, double b0, double a1, double b1) {
#if defined(__x86_64__) || defined(_M_X64)
    const __m128d q = _mm_div_pd(_mm_set_pd(a1, a0), _mm_set_pd(b1, b0));
    return {_mm_cvtsd_f64(q), _mm_cvtsd_f64(_mm_unpackhi_pd(q, q))};
#else
    return {a0 / b0, a1 / b1};
#endif
}
