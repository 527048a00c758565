// The render phase alone at 1920 x 1080 over poses along the show's path,
// with 8 workers and with 1, each taking 64-column tiles from a shared
// counter as the worker pool does. Reports the median and 95th percentile
// frame time; the ratio of the two runs shows what the threads buy.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "camera/camera.h"
#include "content/content.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "render/render.h"
#include "world/builder.h"
#include "world/shapes.h"
#include "world/world.h"

namespace {

struct Pose {
    double x, y, z, heading;
    int32_t horizon;
};

// Along the show: the start, the walk north, the turns, looking down, the
// walk to the house, inside by the stairs, at the desk, and walking back.
const Pose Poses[] = {
    {3.5, 2.5, -1.5, 0.0, -400},     {3.5, 2.5, -1.5, 0.8, -400},     {3.5, 6.0, -1.5, 1.5708, -400},
    {3.5, 12.0, -1.5, 1.5708, -400}, {3.5, 12.0, -1.5, 3.1416, -700}, {3.5, 12.0, -1.5, 3.1416, -1000},
    {3.5, 12.0, -1.5, 2.2, -800},    {4.2, 11.3, -1.5, 3.927, -540},  {5.2, 8.0, -1.5, 4.712, -540},
    {5.2, 4.8, -1.5, 2.356, -540},   {5.2, 3.4, -1.5, 3.1416, -540},  {7.6, 3.4, -1.2, 2.04, -540},
    {8.5, 3.2, -1.0, 4.712, -540},   {8.9, 2.9, -1.0, 3.2987, -750},  {9.2, 2.9, -1.0, 3.2987, -750},
    {9.2, 4.5, -1.0, 1.5708, -600},  {10.5, 5.5, -1.0, 3.1416, -540}, {6.0, 3.5, -1.5, 0.0, -500},
};

View view_of(const Pose& p) {
    Camera camera{};
    camera.x = p.x;
    camera.y = p.y;
    camera.z = camera.renderZ = p.z;
    set_camera_heading(camera, p.heading);
    return make_view(camera, p.horizon);
}

// Workers that wait for a start signal, take tiles until none is left and
// signal done, like the frame loop's pool; each frame draws view over world
// into the FrameBuffer.
struct Workers {
    WorldGrid& world;
    View view{};
    std::vector<std::thread> threads;
    std::vector<std::binary_semaphore*> start, done;
    std::atomic<int32_t> next{0};
    std::atomic<bool> quit{false};

    Workers(WorldGrid& grid, int32_t count) : world(grid) {
        for (int32_t i = 0; i < count; ++i) {
            start.push_back(new std::binary_semaphore(0));
            done.push_back(new std::binary_semaphore(0));
        }
        for (int32_t i = 0; i < count; ++i)
            threads.emplace_back([this, i] {
                const std::unique_ptr<TileScratch> scratch = std::make_unique<TileScratch>();
                for (;;) {
                    start[i]->acquire();
                    if (quit) return;
                    for (int32_t t; (t = next.fetch_add(1)) < ScreenWidth / TileWidth;)
                        render_tile(t, world, view, *scratch, FrameBuffer);
                    done[i]->release();
                }
            });
    }
    void frame() {
        next = 0;
        for (auto* s : start) s->release();
        for (auto* d : done) d->acquire();
    }
    ~Workers() {
        quit = true;
        for (auto* s : start) s->release();
        for (auto& t : threads) t.join();
        for (auto* s : start) delete s;
        for (auto* d : done) delete d;
    }
};

// Until the real content and world exist (their placeholders give blank
// textures and an empty grid), a stand-in of the same make: noisy textures
// with chains, sloped terrain triangles in every inner cell, a ring of walls
// and a few boxes.
void stand_in_content() {
    for (int32_t i = 0; i < BaseTextureCount; ++i) {
        Texture& t = TextureTable[i];
        for (int32_t k = 0; k < t.width * t.height; ++k) t.pixels[k] = (uint32_t(std::rand()) & 0xFFFFFF) | 0x010101;
        for (int32_t level = 1; t.width < 512 && (t.width >> level) > 0; ++level) {
            const size_t n = size_t(t.width >> level) * size_t(t.height >> level);
            t.mips[level - 1] = static_cast<uint32_t*>(std::malloc(n * 4 + 4));
            for (size_t k = 0; k < n; ++k) t.mips[level - 1][k] = (uint32_t(std::rand()) & 0xFFFFFF) | 0x010101;
        }
    }
}

EdgeLine edge_of(int32_t a, int32_t b, double x0, double y0, double x1, double y1) {
    return make_edge_line(a, b, x0, y0, x1, y1);
}

void add_polygon(WorldGrid& world, int32_t a, int32_t b, int32_t kind, const double (*xy)[2], const double* zb, const double* zt,
                 Texture* side, Texture* top) {
    const int32_t m = (kind == TrianglePrism || kind == TriangleSheet) ? 3 : 4;
    auto* g = new PolygonGeometry{};
    for (int32_t i = 0; i < m; ++i) g->vertices[i] = {xy[i][0], xy[i][1], zb[i], zt[i]};
    for (int32_t i = 0; i < m; ++i) {
        const ShapeVertex& v0 = g->vertices[i];
        const ShapeVertex& v1 = g->vertices[(i + 1) % m];
        g->edges[i] = edge_of(a, b, v0.x, v0.y, v1.x, v1.y);
        g->sideTextures[i] = side;
        g->edgeShade[i] = uint8_t(i * 7);
    }
    auto plane = [&](const double* z) {
        // Through vertices 0, 1, 2.
        const ShapeVertex *p0 = &g->vertices[0], *p1 = &g->vertices[1], *p2 = &g->vertices[2];
        const double ux = p1->x - p0->x, uy = p1->y - p0->y, vx = p2->x - p0->x, vy = p2->y - p0->y;
        const double uz = z[1] - z[0], vz = z[2] - z[0], det = ux * vy - uy * vx;
        const double dzdx = (uz * vy - vz * uy) / det, dzdy = (ux * vz - vx * uz) / det;
        return HeightPlane{z[0] - dzdx * p0->x - dzdy * p0->y, dzdx, dzdy};
    };
    g->topPlane = plane(zt);
    g->bottomPlane = plane(zb);
    g->topTexture = top;
    g->surfaceShade = 3;
    GridCell& cell = cell_at(world, a, b);
    cell.shapes = static_cast<Shape*>(std::realloc(cell.shapes, sizeof(Shape) * (cell.shapeCount + 1)));
    Shape& s = cell.shapes[cell.shapeCount++];
    s.geometry.polygon = g;
    s.kind = kind;
    s.zTop = *std::max_element(zt, zt + m);
    s.zBottom = kind >= QuadSheet ? s.zTop : *std::min_element(zb, zb + m);
}

void stand_in_world(WorldGrid& world) {
    auto height = [](int32_t a, int32_t b) { return -2 + 0.3 * std::sin(a * 0.7) * std::cos(b * 0.5); };
    for (int32_t a = 1; a < GridSize - 1; ++a)
        for (int32_t b = 1; b < GridSize - 1; ++b) {
            cell_at(world, a, b).inWorld = 1;
            const double h00 = height(a, b), h10 = height(a + 1, b), h01 = height(a, b + 1), h11 = height(a + 1, b + 1);
            const double t1[3][2] = {{0, 0}, {1, 0}, {0, 1}}, z1[3] = {h00, h10, h01};
            const double t2[3][2] = {{1, 0}, {1, 1}, {0, 1}}, z2[3] = {h10, h11, h01};
            add_polygon(world, a, b, TriangleSheet, t1, z1, z1, nullptr, &TextureTable[HeightMap]);
            add_polygon(world, a, b, TriangleSheet, t2, z2, z2, nullptr, &TextureTable[HeightMap]);
            if (a == 1 || b == 1 || a == GridSize - 2 || b == GridSize - 2) {
                const double q[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, zb[4] = {-3, -3, -3, -3}, zt[4] = {1, 1, 1, 1};
                add_polygon(world, a, b, QuadPrism, q, zb, zt, &TextureTable[GreyNoiseA], &TextureTable[GreyNoiseB]);
            }
        }
    for (int32_t a = 7; a <= 11; ++a)
        for (int32_t b = 1; b <= 5; ++b) {
            const double q[4][2] = {{0.1, 0.1}, {0.9, 0.1}, {0.9, 0.9}, {0.1, 0.9}};
            const double zb[4] = {-2.2, -2.2, -2.2, -2.2}, zt[4] = {-1.9, -1.9, -1.6, -1.6};
            if ((a + b) % 3 == 0)
                add_polygon(world, a, b, QuadPrism, q, zb, zt, &TextureTable[RedBricks], &TextureTable[SandTiles]);
        }
}

// The benchmark's own world, made on first use and kept for the process.
WorldGrid& prepare_world() {
    static WorldGrid* const world = [] {
        std::string error;
        platform_allocate_frame_buffer(&error);
        generate_content();
        WorldGrid* const built = new WorldGrid{};
        build_world(*built, TextureTable);
        if (TextureTable[GreyNoiseA].mips[0] == nullptr) stand_in_content();
        if (cell_at(*built, 3, 2).shapeCount == 0) stand_in_world(*built);
        return built;
    }();
    return *world;
}

void render_phase(benchmark::State& state) {
    WorldGrid& world = prepare_world();
    Workers workers(world, int32_t(state.range(0)));
    std::vector<double> times;
    size_t pose = 0;
    for (auto _ : state) {
        workers.view = view_of(Poses[pose]);
        pose = (pose + 1) % std::size(Poses);
        for (auto& column : world.cells)
            for (GridCell& cell : column) cell.visited = 0;
        const auto t0 = std::chrono::steady_clock::now();
        workers.frame();
        const auto t1 = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1e3);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p95_ms"] = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    state.counters["median_fps"] = 1e3 / times[times.size() / 2];
}

}  // namespace

BENCHMARK(render_phase)->Arg(8)->Arg(2)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
