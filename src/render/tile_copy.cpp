// The tile copy is a transpose: blocks of columns are read from the scratch
// and written out as rows. Where the frame is aligned for them, the rows go
// out with streaming stores: every line of the tile's part of the frame is
// written whole and not read back by the worker, so the stores need not
// first fetch each line (8 MB a frame) from the last-level cache or memory.
// The fence makes them visible before the worker reports the tile done.
#include "render/tile_copy.h"

#include <cstddef>

#include "platform/platform.h"
#include "render/render.h"
#include "render/row_walk.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// Four rows by four columns at a time (ScreenHeight and the tile width are
// multiples of 4); streaming stores need a 16-byte-aligned frame.
template <bool Stream>
void copy_by_four(const uint32_t* scratch, uint32_t* frame) {
    static_assert(ScreenHeight % 4 == 0 && TileWidth % 4 == 0);
    auto store = [](uint32_t* to, __m128i v) {
        if constexpr (Stream) _mm_stream_si128(reinterpret_cast<__m128i*>(to), v);
        else _mm_storeu_si128(reinterpret_cast<__m128i*>(to), v);
    };
    for (int32_t r = 0; r < ScreenHeight; r += 4) {
        uint32_t* const row = frame + size_t(r) * ScreenWidth;
        for (int32_t c = 0; c < TileWidth; c += 4) {
            const uint32_t* const src = scratch + size_t(c) * ScreenHeight + size_t(r);
            const __m128i c0 = _mm_load_si128(reinterpret_cast<const __m128i*>(src));
            const __m128i c1 = _mm_load_si128(reinterpret_cast<const __m128i*>(src + ScreenHeight));
            const __m128i c2 = _mm_load_si128(reinterpret_cast<const __m128i*>(src + 2 * ScreenHeight));
            const __m128i c3 = _mm_load_si128(reinterpret_cast<const __m128i*>(src + 3 * ScreenHeight));
            const __m128i t0 = _mm_unpacklo_epi32(c0, c1);  // rows 0 and 1 of columns 0, 1
            const __m128i t1 = _mm_unpacklo_epi32(c2, c3);  // rows 0 and 1 of columns 2, 3
            const __m128i t2 = _mm_unpackhi_epi32(c0, c1);  // rows 2 and 3
            const __m128i t3 = _mm_unpackhi_epi32(c2, c3);
            store(row + c, _mm_unpacklo_epi64(t0, t1));
            store(row + ScreenWidth + c, _mm_unpackhi_epi64(t0, t1));
            store(row + 2 * ScreenWidth + c, _mm_unpacklo_epi64(t2, t3));
            store(row + 3 * ScreenWidth + c, _mm_unpackhi_epi64(t2, t3));
        }
    }
    if constexpr (Stream) _mm_sfence();
}
#endif

#if defined(__x86_64__) || defined(__i386__)
// Rows 0 .. 7 of eight columns from src on (columns ScreenHeight apart), as
// eight rows of those columns.
__attribute__((target("avx2"))) inline void transpose_eight(const uint32_t* src, __m256i (&rows)[8]) {
    __m256i col[8];
    for (int32_t j = 0; j < 8; ++j)
        col[j] = _mm256_load_si256(reinterpret_cast<const __m256i*>(src + size_t(j) * ScreenHeight));
    // Pairs of columns interleaved, then quads: each 128-bit half of quad[k]
    // holds row k (low half) or row k + 4 (high half) of four columns.
    __m256i quad[8];
    for (int32_t j = 0; j < 8; j += 4) {
        const __m256i lo01 = _mm256_unpacklo_epi32(col[j], col[j + 1]);
        const __m256i hi01 = _mm256_unpackhi_epi32(col[j], col[j + 1]);
        const __m256i lo23 = _mm256_unpacklo_epi32(col[j + 2], col[j + 3]);
        const __m256i hi23 = _mm256_unpackhi_epi32(col[j + 2], col[j + 3]);
        quad[j] = _mm256_unpacklo_epi64(lo01, lo23);      // rows 0 | 4
        quad[j + 1] = _mm256_unpackhi_epi64(lo01, lo23);  // rows 1 | 5
        quad[j + 2] = _mm256_unpacklo_epi64(hi01, hi23);  // rows 2 | 6
        quad[j + 3] = _mm256_unpackhi_epi64(hi01, hi23);  // rows 3 | 7
    }
    for (int32_t k = 0; k < 4; ++k) {
        rows[k] = _mm256_permute2x128_si256(quad[k], quad[k + 4], 0x20);
        rows[k + 4] = _mm256_permute2x128_si256(quad[k], quad[k + 4], 0x31);
    }
}

// Eight rows by sixteen columns at a time: the two eight-by-eight halves of
// each block are transposed, then each row's 64-byte line goes out through
// `store` at once, so it leaves the write-combining buffer whole. A frame
// row's tile part (TileWidth * 4 bytes) is whole cache lines.
template <typename LineStore>
__attribute__((target("avx2"))) inline void copy_by_sixteen_columns(const uint32_t* scratch, uint32_t* frame,
                                                                    LineStore store) {
    static_assert(ScreenHeight % 8 == 0 && TileWidth % 16 == 0);
    for (int32_t r = 0; r < ScreenHeight; r += 8) {
        uint32_t* const row = frame + size_t(r) * ScreenWidth;
        for (int32_t c = 0; c < TileWidth; c += 16) {
            const uint32_t* const src = scratch + size_t(c) * ScreenHeight + size_t(r);
            __m256i left[8], right[8];
            transpose_eight(src, left);
            transpose_eight(src + 8 * ScreenHeight, right);
            for (int32_t k = 0; k < 8; ++k) store(row + size_t(k) * ScreenWidth + c, left[k], right[k]);
        }
    }
    _mm_sfence();
}

// A line as two 32-byte streaming stores (a 32-byte-aligned frame) ...
struct TwoStreamingStores {
    __attribute__((target("avx2"))) void operator()(uint32_t* to, __m256i left, __m256i right) const {
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to), left);
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to + 8), right);
    }
};

// ... or, with AVX-512, as one 64-byte streaming store (a 64-byte-aligned frame).
struct OneStreamingStore {
    __attribute__((target("avx2,avx512f"))) void operator()(uint32_t* to, __m256i left, __m256i right) const {
        _mm512_stream_si512(reinterpret_cast<__m512i*>(to),
                            _mm512_maskz_inserti64x4(0xFF, _mm512_castsi256_si512(left), right, 1));
    }
};

// Each copy is flattened, so that the loop and its stores are compiled as
// one function for its own processor.
__attribute__((target("avx2"), flatten)) void copy_by_eight(const uint32_t* scratch, uint32_t* frame) {
    copy_by_sixteen_columns(scratch, frame, TwoStreamingStores{});
}

__attribute__((target("avx2,avx512f"), flatten)) void copy_by_sixteen(const uint32_t* scratch, uint32_t* frame) {
    copy_by_sixteen_columns(scratch, frame, OneStreamingStore{});
}
#endif

}  // namespace

#if defined(__SSE2__)
void copy_tile_out(const uint32_t* scratch, uint32_t* frame) {
    static const bool wide = avx2_usable(), widest = avx512_usable();
    const uintptr_t at = reinterpret_cast<uintptr_t>(frame);
    if (widest && at % 64 == 0) return copy_by_sixteen(scratch, frame);
    if (wide && at % 32 == 0) return copy_by_eight(scratch, frame);
    if (at % 16 == 0) return copy_by_four<true>(scratch, frame);
    copy_by_four<false>(scratch, frame);
}
#else
// The portable form for processors without SSE2.
void copy_tile_out(const uint32_t* scratch, uint32_t* frame) {
    for (int32_t r = 0; r < ScreenHeight; ++r) {
        uint32_t* const row = frame + size_t(r) * ScreenWidth;
        for (int32_t c = 0; c < TileWidth; ++c) row[c] = scratch[size_t(c) * ScreenHeight + size_t(r)];
    }
}
#endif
