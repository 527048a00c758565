// The span drawers: a wall, a top face, a bottom face and the sky, each into
// one column. A pixel is written only while it is 0, with the texel as it
// stands, so a 0 texel leaves the pixel empty for farther surfaces.
#pragma once

#include <cstdint>

#include "render/ray_hit.h"

struct Texture;

// One screen column: row r is pixels[r * stride]. The FrameBuffer gives
// stride ScreenWidth; a worker's column-major scratch tile gives stride 1.
struct ColumnTarget {
    uint32_t* pixels;
    int32_t stride;
};

// What a frame is drawn from, taken once before drawing (make_view): the
// camera's values, the horizon offset and the sky panorama behind them.
struct View {
    double camX, camY;
    double eye;       // renderZ
    double heading;
    double dirX, dirY, planeX, planeY;
    int32_t horizon;  // rows added to every projected row
    const Texture* sky;
};

// Remembers what get_shaded_texture returned for each (texture, level)
// within one tile: a variant never changes once made, and this keeps the
// drawers off the texture lock after the first request. Direct-mapped: a
// collision only costs another call.
struct ShadeCache {
    static constexpr int32_t Slots = 512;
    Texture* base[Slots] = {};
    Texture* shaded[Slots];
    int32_t level[Slots];
};
Texture* shaded_texture(ShadeCache& cache, Texture* texture, int32_t level);

// Mip level of a span from the rows one world unit covers at its near point.
int32_t wall_mip_level(const Texture& texture, double scale);
int32_t top_mip_level(const Texture& texture, double scale);
int32_t bottom_mip_level(const Texture& texture, double scale);

void draw_wall_span(ColumnTarget column, const RayHit& h, const View& view, ShadeCache& cache);
void draw_top_face(ColumnTarget column, const RayHit& h, const View& view, ShadeCache& cache);
void draw_bottom_face(ColumnTarget column, const RayHit& h, const View& view, ShadeCache& cache);

// The texels of one column of the sky panorama, copied out once for the
// screen columns that share it (about seven side by side): read down a
// column of the row-major panorama, every texel lies in a cache line of its
// own, and all of them in the same few sets of the first-level cache.
struct SkyColumn {
    static constexpr int64_t MaxRows = 512;
    const uint32_t* from = nullptr;  // the panorama texel of row 0 it was copied from; null: none yet
    int64_t stride = 0, rows = 0;
    uint32_t texels[MaxRows];
};

// What the columns of one tile share.
struct ColumnCaches {
    ShadeCache shades;
    SkyColumn sky;
};

// Fills the column's empty pixels with the view's sky panorama (none when
// view.sky is null) from the top down to the first drawn pixel, or every
// empty pixel with fillAll.
void draw_sky_column(int32_t x, ColumnTarget column, bool fillAll, const View& view, SkyColumn& cache);
