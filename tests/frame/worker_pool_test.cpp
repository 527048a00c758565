#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "frame/worker_pool.h"

namespace {

std::atomic<int32_t> TimesRendered[TileCount];
std::atomic<int32_t> SlowTiles{0};
std::atomic<std::thread::id> SlowThread;

void count_tile(int32_t tile, TileScratch&) { TimesRendered[tile].fetch_add(1); }

// The thread that renders tile 0 becomes the slow worker: every tile it
// takes costs it 2 ms, so the others must pick up the rest.
void slow_worker_tile(int32_t tile, TileScratch&) {
    if (tile == 0) SlowThread.store(std::this_thread::get_id());
    if (std::this_thread::get_id() == SlowThread.load()) {
        SlowTiles.fetch_add(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    TimesRendered[tile].fetch_add(1);
}

void clear_counts() {
    for (auto& count : TimesRendered) count.store(0);
}

void expect_every_tile_once() {
    for (int32_t t = 0; t < TileCount; ++t) EXPECT_EQ(TimesRendered[t].load(), 1) << "tile " << t;
}

} // namespace

TEST(TileDispatch, NoTileBeforeTheFirstFrameAndNoneAfterTheLast) {
    EXPECT_EQ(next_tile(), -1);
    EXPECT_EQ(TileCounter, -1);

    // The frame thread's reset hands out 0..29 in order, then -1 for good.
    TileCounter = 0;
    for (int32_t t = 0; t < TileCount; ++t) EXPECT_EQ(next_tile(), t);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(next_tile(), -1);
    EXPECT_EQ(TileCounter, -1);
}

TEST(WorkerPool, EveryTileExactlyOnceWithASlowWorker) {
    WorkerPool* pool = start_workers(WorkerCount, slow_worker_tile);
    for (int frame = 0; frame < 20; ++frame) {
        clear_counts();
        SlowTiles.store(0);
        run_render_phase(pool);
        expect_every_tile_once();
        // 30 tiles at 2 ms each would take the slow worker 60 ms; the others
        // take over, so it renders only a handful.
        EXPECT_LT(SlowTiles.load(), TileCount / 2);
        EXPECT_EQ(next_tile(), -1) << "the counter ends at -1 after a phase";
    }
    stop_workers(pool);
}

TEST(WorkerPool, CompletesFramesWhereWorkersGetNoTile) {
    // Eight workers on near-empty tiles: most frames some worker finds the
    // counter at -1 at once and must still signal done. A single worker
    // renders every tile itself.
    for (const int32_t workers : {WorkerCount, 1}) {
        WorkerPool* pool = start_workers(workers, count_tile);
        for (int frame = 0; frame < 500; ++frame) {
            clear_counts();
            run_render_phase(pool);
            expect_every_tile_once();
        }
        stop_workers(pool);
    }
}
