// The column renderer: one ray per screen column marched through the grid,
// each cell's hits ordered and drawn nearest first, then the sky. Workers
// draw a tile into a column-major scratch buffer and copy it out row by row.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "camera/camera.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "render/column.h"
#include "render/hidden_cell.h"
#include "render/intersect.h"
#include "render/numeric.h"
#include "render/render.h"
#include "render/tile_copy.h"
#include "world/world.h"

namespace {

constexpr double H = ScreenHeight;

// A span [a, b] that reaches over one end of the open range cuts it back.
inline void cover_span(int32_t& openBottom, int32_t& openTop, int32_t a, int32_t b) {
    if (a <= openTop && openTop < b) openTop = b + 1;
    if (a < openBottom && openBottom <= b) openBottom = a - 1;
}

inline bool ranges_overlap(double Ta, double Ba, double Tb, double Bb) {
    return (Bb <= Ta && Ta <= Tb) || (Ba <= Tb && Tb <= Ta) || (Bb <= Ba && Ba <= Tb) || (Ba <= Bb && Bb <= Ta);
}

inline double vertical_distance(double T, double B, double eye) {
    if (B <= eye && eye <= T) return 0;
    return std::fabs((T + B) * 0.5 - eye);
}

}  // namespace

// intersect_shape writes a wall's or a face's rows only for a surface it
// gives a texture, so each texture pointer is tested before those rows are read.
void cover_rows(int32_t& openBottom, int32_t& openTop, const RayHit& h, int32_t horizonOffset) {
    const double o = horizonOffset;
    if (h.wallTexture != nullptr) {
        const double a = h.topSlant != 0 ? h.wallTopRow - h.topSlant * h.scale : h.wallTopRow;
        const double b = h.bottomSlant != 0 ? h.wallBottomRow - h.bottomSlant * h.scale : h.wallBottomRow;
        if (a <= b && a + o < H && b + o >= 0) {
            int32_t top = trunc_row(h.wallTopRow + o);
            int32_t bottom = trunc_row(o + h.wallBottomRow);
            if (h.topSlant != 0) top = trunc_row(top - h.topSlant * h.scale);
            if (h.bottomSlant != 0) bottom = trunc_row(bottom - h.bottomSlant * h.scale);
            cover_span(openBottom, openTop, top, bottom);
        }
    }
    if (h.topTexture != nullptr && h.topFarRow + o < H && h.topNearRow + o >= 0 && h.topNearRow > h.topFarRow)
        cover_span(openBottom, openTop, trunc_row(h.topFarRow + o), trunc_row(o + h.topNearRow));
    if (h.bottomTexture != nullptr && h.bottomNearRow + o < H && h.bottomFarRow + o >= 0 &&
        h.bottomFarRow > h.bottomNearRow)
        cover_span(openBottom, openTop, trunc_row(o + h.bottomNearRow), trunc_row(h.bottomFarRow + o));
}

void order_hits(CellHits& cell, double eye) {
    const int32_t n = cell.count;
    // Each hit's distance from the eye's height, taken once instead of at
    // every comparison: the same value either way.
    double fromEye[MaxCellHits];
    for (int32_t k = 0; k < n; ++k) fromEye[k] = vertical_distance(cell.zTop[k], cell.zBottom[k], eye);
    // A pass without a swap leaves the order as it found it, and so would
    // every pass after it: the sort is finished there.
    bool swapped = true;
    for (int32_t pass = 0; pass < 2 * n && swapped; ++pass) {
        swapped = false;
        for (int32_t i = 0; i + 1 < n; ++i) {
            const int32_t a = cell.order[i], b = cell.order[i + 1];
            const double Ta = cell.zTop[a], Ba = cell.zBottom[a];
            const double Tb = cell.zTop[b], Bb = cell.zBottom[b];
            const bool depthRule =
                !(Ta == Ba || Ba == Tb || Tb == Bb || Ta == Bb) && ranges_overlap(Ta, Ba, Tb, Bb);
            const bool swap = depthRule ? cell.hits[b].dist > cell.hits[a].dist : fromEye[b] > fromEye[a];
            if (swap) {
                cell.order[i] = b;
                cell.order[i + 1] = a;
                swapped = true;
            }
        }
    }
}

View make_view(const Camera& camera, int32_t horizon) {
    return View{camera.x, camera.y, camera.renderZ, camera.heading, camera.dirX, camera.dirY, camera.planeX,
                camera.planeY, horizon, &TextureTable[Sky]};
}

namespace {

// Intersects every shape of the cell, narrows the open range by each hit and
// draws the hits nearest first.
void draw_cell(const GridCell& gridCell, int32_t cellX, int32_t cellY, const Ray& ray, ColumnTarget target,
               const View& view, ShadeCache& cache, CellHits& cell, ColumnRows& rows) {
    int32_t n = 0;
    for (uint32_t i = 0; i < gridCell.shapeCount && n < MaxCellHits; ++i) {
        const Shape& shape = gridCell.shapes[i];
        RayHit& h = cell.hits[n];
        intersect_shape(cellX, cellY, ray, shape, h);
        if (!h.hit) continue;
        cell.order[n] = n;
        cell.zTop[n] = shape.zTop;
        cell.zBottom[n] = shape.zBottom;
        ++n;
        cover_rows(rows.openBottom, rows.openTop, h, view.horizon);
    }
    cell.count = n;
    order_hits(cell, view.eye);
    for (int32_t k = n - 1; k >= 0; --k) {
        const RayHit& h = cell.hits[cell.order[k]];
        if (h.topTexture != nullptr && h.topNearRow > h.topFarRow) draw_top_face(target, h, view, cache);
        if (h.bottomTexture != nullptr && h.bottomFarRow > h.bottomNearRow) draw_bottom_face(target, h, view, cache);
        draw_wall_span(target, h, view, cache);
    }
}

}  // namespace

void render_column(int32_t x, ColumnTarget target, WorldGrid& world, const View& view, ColumnCaches& caches) {
    const double cameraX = 2.0 * x / ScreenWidth - 1;
    Ray ray;
    ray.camX = view.camX;
    ray.camY = view.camY;
    ray.rdx = view.planeX * cameraX + view.dirX;
    ray.rdy = view.planeY * cameraX + view.dirY;
    // A component a billion times smaller than the other one is rounding
    // noise (a heading of pi / 2 leaves dirX = -6e-17): depths taken along it
    // would be garbage, so such a ray is taken as exactly axis-parallel. Over
    // the whole grid that moves it by less than 1e-7 units.
    if (std::fabs(ray.rdx) < 1e-9 * std::fabs(ray.rdy)) ray.rdx = 0;
    if (std::fabs(ray.rdy) < 1e-9 * std::fabs(ray.rdx)) ray.rdy = 0;
    ray.s = ray.rdx / ray.rdy;
    ray.c = view.camX - view.camY * ray.s;
    ray.eye = view.eye;
    const double deltaX = std::fabs(1 / ray.rdx);
    const double deltaY = std::fabs(1 / ray.rdy);
    int32_t cellX = int32_t(std::floor(view.camX));
    int32_t cellY = int32_t(std::floor(view.camY));

    ColumnRows rows{0, ScreenHeight - 1, 0, ScreenHeight - 1};
    double tEnter = 0;  // depth at which the ray enters the current cell
    CellHits cell;
    for (;;) {
        if (cellX < 0 || cellX >= GridSize || cellY < 0 || cellY >= GridSize) break;
        // Distances along the ray to the next X and Y grid lines; a zero
        // component never reaches its grid lines.
        const double tX = ray.rdx == 0 ? INFINITY
                          : ray.rdx < 0 ? (view.camX - cellX) * deltaX
                                        : (cellX + 1 - view.camX) * deltaX;
        const double tY = ray.rdy == 0 ? INFINITY
                          : ray.rdy < 0 ? (view.camY - cellY) * deltaY
                                        : (cellY + 1 - view.camY) * deltaY;
        const double tExit = std::min(tX, tY);

        GridCell& gridCell = cell_at(world, cellX, cellY);
        if (gridCell.shapeCount != 0) {
            // Read before writing: once set, the flag's cache line stays shared
            // between the cores instead of bouncing with every column.
            std::atomic_ref<uint8_t> visited(gridCell.visited);
            if (visited.load(std::memory_order_relaxed) == 0) visited.store(1, std::memory_order_relaxed);
            if (!cell_cannot_show(gridCell, cellX, cellY, ray, tEnter, tExit, view.horizon, target, rows))
                draw_cell(gridCell, cellX, cellY, ray, target, view, caches.shades, cell, rows);
        }

        tEnter = tExit;
        if (tY > tX) cellX += ray.rdx < 0 ? -1 : 1;
        else cellY += ray.rdy < 0 ? -1 : 1;

        if (rows.openBottom < rows.openTop) break;
        if (cellX < 0 || cellX >= GridSize || cellY < 0 || cellY >= GridSize) break;
        if (cell_at(world, cellX, cellY).inWorld == 0) break;
    }
    draw_sky_column(x, target, rows.openTop > 0 && rows.openBottom >= rows.openTop, view, caches.sky);
}

void render_tile(int32_t tile, WorldGrid& world, const View& view, TileScratch& tileScratch, uint32_t* frame) {
    const int32_t x0 = tile * TileWidth;
    if (x0 < 0 || x0 + TileWidth > ScreenWidth) return;
    // Column c of the tile is rows [c * H, c * H + H): a column's rows are
    // adjacent, so drawing walks memory linearly instead of a row apart.
    uint32_t* const scratch = tileScratch.pixels;
    ColumnCaches caches;
    for (int32_t c = 0; c < TileWidth; ++c) {
        // Cleared just before it is drawn, the column is still in the
        // nearest cache when drawing starts.
        uint32_t* const column = scratch + size_t(c) * ScreenHeight;
        std::memset(column, 0, ScreenHeight * sizeof *column);
        render_column(x0 + c, ColumnTarget{column, 1}, world, view, caches);
    }

    copy_tile_out(scratch, frame + x0);
}
