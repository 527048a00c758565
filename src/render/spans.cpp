// Wall spans and top and bottom faces, each with one mip level per span.
#include "render/spans.h"

#include <algorithm>
#include <cmath>

#include "content/texture.h"
#include "platform/platform.h"
#include "render/numeric.h"
#include "render/row_walk.h"

namespace {

constexpr double H = ScreenHeight;

const uint32_t* level_pixels(const Texture& texture, int32_t level) {
    if (level == 0) return texture.pixels;
    if (level > MaxMipLevels) return nullptr;
    return texture.mips[level - 1];
}

// The first row index at or past end, for rows counted from 0: a loop
// "r < end" over r >= 0 runs while r < row_end(end). NaN gives 0.
inline int32_t row_end(double end) {
    if (end > ScreenHeight) return ScreenHeight;
    if (end > 0) return int32_t(std::ceil(end));
    return 0;
}

inline int32_t mip_level(int32_t size, double scale) {
    if (size >= scale) return ilog2(size) - ilog2(trunc_row(scale));
    return 0;
}

}  // namespace

Texture* shaded_texture(ShadeCache& cache, Texture* texture, int32_t level) {
    if (level == 0) return texture;
    const uint32_t key = uint32_t(reinterpret_cast<uintptr_t>(texture) >> 4) * 0x9E3779B1u + uint32_t(level) * 0x85EBCA6Bu;
    const uint32_t slot = key >> (32 - 9);
    static_assert(ShadeCache::Slots == 1 << 9);
    if (cache.base[slot] == texture && cache.level[slot] == level) return cache.shaded[slot];
    Texture* const shaded = get_shaded_texture(texture, level);
    cache.base[slot] = texture;
    cache.level[slot] = level;
    cache.shaded[slot] = shaded;
    return shaded;
}

int32_t wall_mip_level(const Texture& texture, double scale) { return mip_level(texture.height, scale); }
int32_t top_mip_level(const Texture& texture, double scale) { return mip_level(texture.width, scale); }
int32_t bottom_mip_level(const Texture& texture, double scale) {
    if (texture.width / 2 >= scale) return mip_level(texture.width, scale);
    return 0;
}

void draw_wall_span(ColumnTarget column, const RayHit& h, const View& view, ShadeCache& cache) {
    if (h.wallTexture == nullptr) return;
    // The rows first: they do not depend on the texture, and a span whose
    // rows are all drawn already needs no texture or walk.
    const double o = view.horizon;
    const double unslantedTop = h.wallTopRow + o, unslantedBottom = h.wallBottomRow + o;
    double top = unslantedTop, bottom = unslantedBottom;
    if (h.topSlant != 0) top = top - h.topSlant * h.scale;
    if (h.bottomSlant != 0) bottom = bottom - h.bottomSlant * h.scale;
    const double first = top < 0 ? 0 : top;
    if (!(first < H) || !(bottom >= 0)) return;
    int32_t r = trunc_row(first);
    const int32_t end = row_end(bottom);
    const int32_t stride = column.stride;
    uint32_t* p = column.pixels + ptrdiff_t(r) * stride;
    if (stride == 1 && all_drawn(p, end - r)) return;

    const Texture& texture = *shaded_texture(cache, h.wallTexture, h.wallShade);
    const int32_t level = wall_mip_level(texture, h.scale);
    const uint32_t* const texels = level_pixels(texture, level);
    const int32_t w = texture.width >> level;
    const int32_t th = texture.height >> level;
    if (texels == nullptr || w <= 0 || th <= 0) return;
    const int32_t u = int32_t(h.texU >> level);

    const double step = h.fitHeight == 1 ? th / (unslantedBottom - unslantedTop) : th / h.scale;
    double v = 0;
    if (h.topSlant != 0) v = -step * h.topSlant * h.scale;  // keeps the texture anchored to the unslanted top
    if (top < 0) v = v - top * step;  // rows hidden above the screen still advance the texture
    v = v - (first - std::floor(first)) * step;

    // One texel row per pixel row: v advances by step; rows wrap at th.
    const int64_t rowMask = th - 1;
    const WallTexels texel{texels + u, w, rowMask};
    if (stride == 1) return walk_wall_rows(p, end - r, v, step, texel);
    for (; r < end; ++r, p += stride) {
        if (*p == 0) *p = texel(v);
        v += step;
    }
}

namespace {

// A face span set up for the perspective walk: the texels of its mip level,
// laid on the world once per unit, and q, the denominator of the
// floor-casting division, which runs linearly from upperFlat * N - H * N at
// row y0 to lowerFlat * N - H * N at row y1.
struct FaceWalk {
    FaceTexels texel;       // texel.texels null: the span draws nothing
    double q, step;
    int32_t r;              // first row
    double end;             // the walk runs while r < end
};

// lift is subtracted from the eye's height above the face (EyeLift for the
// top face, as in the projection of its rows; the bottom face has none).
FaceWalk start_face_walk(const Texture& texture, int32_t level, const RayHit& h, const View& view, double y0,
                         double y1, double upperFlat, double lowerFlat, double faceZ, double lift) {
    const uint32_t* const texels = level_pixels(texture, level);
    const int32_t n = texture.width >> level;
    if (texels == nullptr || n <= 0) return FaceWalk{};
    const double start = std::max(y0, 0.0);
    if (!(start < H)) return FaceWalk{};
    const double K = (view.eye - faceZ - lift) * H * n;
    const double dX = h.nearX - view.camX, dY = h.nearY - view.camY, N = h.dist;
    const double step = (lowerFlat - upperFlat) / (y1 - y0) * N;
    const double base = upperFlat * N - y0 * step - H * N;
    return FaceWalk{FaceTexels{texels, n - 1, ilog2(n), dX * K, dY * K, view.camX * n, view.camY * n},
                    std::floor(start) * step + base, step, int32_t(start), std::min(y1, H)};
}

// Whether the walk from y0 to y1 would find every one of its rows drawn
// (rows from trunc(max(y0, 0)) to row_end(min(y1, H)) less `shorter`):
// then there is nothing to set up. A face walk is often hidden whole behind
// nearer terrain.
bool face_rows_drawn(ColumnTarget column, double y0, double y1, int32_t shorter) {
    if (column.stride != 1) return false;
    const double start = std::max(y0, 0.0);
    if (!(start < H)) return true;
    const int32_t r = int32_t(start), rowEnd = row_end(std::min(y1, H)) - shorter;
    return all_drawn(column.pixels + r, rowEnd - r);
}

}  // namespace

void draw_top_face(ColumnTarget column, const RayHit& h, const View& view, ShadeCache& cache) {
    const double o = view.horizon;
    if (face_rows_drawn(column, h.topFarRow + o, h.topNearRow + o, 0)) return;
    const Texture& texture = *shaded_texture(cache, h.topTexture, h.faceShade);
    const FaceWalk w = start_face_walk(texture, top_mip_level(texture, h.scale), h, view, h.topFarRow + o,
                                       h.topNearRow + o, h.topFarRowFlat, h.topNearRowFlat, h.topZ, EyeLift);
    if (w.texel.texels == nullptr) return;
    const int32_t rowEnd = row_end(w.end), stride = column.stride;
    uint32_t* p = column.pixels + ptrdiff_t(w.r) * stride;
    if (stride == 1) return walk_face_rows(p, rowEnd - w.r, w.q, w.step, w.texel);
    double q = w.q;
    for (int32_t r = w.r; r < rowEnd; ++r, p += stride) {
        if (*p == 0) *p = w.texel(q);
        q += w.step;
    }
}

// Each row samples with the denominator of the row below it, so the face
// stops one row short of its far end.
void draw_bottom_face(ColumnTarget column, const RayHit& h, const View& view, ShadeCache& cache) {
    const double o = view.horizon;
    if (face_rows_drawn(column, h.bottomNearRow + o, h.bottomFarRow + o, 1)) return;
    const Texture& texture = *shaded_texture(cache, h.bottomTexture, h.faceShade);
    const FaceWalk w = start_face_walk(texture, bottom_mip_level(texture, h.scale), h, view, h.bottomNearRow + o,
                                       h.bottomFarRow + o, h.bottomNearRowFlat, h.bottomFarRowFlat, h.bottomZ, 0);
    if (w.texel.texels == nullptr) return;
    const int32_t rowEnd = row_end(w.end) - 1, stride = column.stride;
    uint32_t* p = column.pixels + ptrdiff_t(w.r) * stride;
    if (stride == 1) return walk_face_rows(p, rowEnd - w.r, w.q + w.step, w.step, w.texel);
    double q = w.q;
    for (int32_t r = w.r; r < rowEnd; ++r, p += stride) {
        q += w.step;
        if (*p == 0) *p = w.texel(q);
    }
}
