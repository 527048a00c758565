// Start-up cost of building the world and per-frame cost of the camera's
// queries, against one floor query over a terrain cell as the baseline.
#include <benchmark/benchmark.h>

#include "camera/camera.h"
#include "camera/queries.h"
#include "content/content.h"
#include "content/texture.h"
#include "world/builder.h"

namespace {

struct BuiltWorld {
    WorldGrid grid{};
    BuiltWorld() {
        generate_content();
        build_world(grid, TextureTable);
    }
};

const WorldGrid& built() {
    static const BuiltWorld world;
    return world.grid;
}

void BM_FloorQueryBaseline(benchmark::State& state) {
    const WorldGrid& grid = built();
    for (auto _ : state) benchmark::DoNotOptimize(floor_height_at(grid, 3.5, 2.5, 0.5));
}

void BM_FallStepAtTheDesk(benchmark::State& state) {
    // Cell (9, 2) holds the most shapes; its neighbours are walls and floors.
    const WorldGrid& grid = built();
    for (auto _ : state) {
        Camera camera{};
        camera.x = 9.1, camera.y = 2.9, camera.z = -0.8, camera.renderZ = camera.z;
        fall_step(camera, grid, 2.0 / 60);
        benchmark::DoNotOptimize(camera.z);
    }
}

void BM_HeadBlockedAtTheDesk(benchmark::State& state) {
    const WorldGrid& grid = built();
    for (auto _ : state) benchmark::DoNotOptimize(head_blocked(grid, 9.1, 2.9, -0.8));
}

void BM_BuildWorld(benchmark::State& state) {
    built();
    for (auto _ : state) {
        WorldGrid grid{};
        build_world(grid, TextureTable);
        benchmark::DoNotOptimize(grid.cells[9][2].shapeCount);
        clear_world(grid);
    }
}

}  // namespace

BENCHMARK(BM_FloorQueryBaseline);
BENCHMARK(BM_FallStepAtTheDesk);
BENCHMARK(BM_HeadBlockedAtTheDesk);
BENCHMARK(BM_BuildWorld)->Unit(benchmark::kMicrosecond);
