#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "frame/worker_pool.h"

namespace {

std::atomic<int32_t> TimesRendered[TileCount];

// The dispatch tests draw nothing; their tile functions only count.
const RenderJob NoJob{nullptr, View{}, nullptr};

void count_tile(int32_t tile, const RenderJob&, TileScratch&) { TimesRendered[tile].fetch_add(1); }

// The worker that takes tile 0 is held inside it until the test lets it go;
// meanwhile the others must take and render every other tile.
struct HeldWorker {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread::id thread;
    bool released = false;
    int32_t heldTiles = 0;   // tiles the held worker rendered
    int32_t otherTiles = 0;  // tiles the other workers rendered
};
HeldWorker Held;

void held_worker_tile(int32_t tile, const RenderJob&, TileScratch&) {
    TimesRendered[tile].fetch_add(1);
    std::unique_lock lock(Held.mutex);
    if (tile == 0) {
        Held.thread = std::this_thread::get_id();
        Held.changed.wait(lock, [] { return Held.released; });
    }
    if (std::this_thread::get_id() == Held.thread) ++Held.heldTiles;
    else ++Held.otherTiles;
    Held.changed.notify_all();
}

void clear_counts() {
    for (auto& count : TimesRendered) count.store(0);
}

void expect_every_tile_once() {
    for (int32_t t = 0; t < TileCount; ++t) EXPECT_EQ(TimesRendered[t].load(), 1) << "tile " << t;
}

} // namespace

// Workers started before the first frame find no tile; the frame thread's
// reset hands out every tile once, then -1 for good.
TEST(TileDispatch, NoTileBeforeTheFirstFrameAndNoneAfterTheLast) {
    TileCounter tiles;
    EXPECT_EQ(next_tile(tiles), -1);
    tiles.next = 0;
    for (int32_t t = 0; t <= TileCount + 2; ++t) EXPECT_EQ(next_tile(tiles), t < TileCount ? t : -1);
}

TEST(WorkerPool, OtherWorkersTakeEveryTileWhileOneIsHeld) {
    WorkerPool* pool = start_workers(WorkerCount, held_worker_tile);
    for (int frame = 0; frame < 20; ++frame) {
        clear_counts();
        {
            const std::lock_guard lock(Held.mutex);
            Held.thread = {};
            Held.released = false;
            Held.heldTiles = Held.otherTiles = 0;
        }
        std::thread frameThread([pool] { run_render_phase(pool, NoJob); });
        bool othersDone = false;
        {
            std::unique_lock lock(Held.mutex);
            // The time-out only ends a broken run (tiles waiting for the held
            // worker); a working pool gets there as soon as the tiles are drawn.
            othersDone = Held.changed.wait_for(lock, std::chrono::seconds(30),
                                               [] { return Held.otherTiles == TileCount - 1; });
            Held.released = true;
        }
        Held.changed.notify_all();
        frameThread.join();
        ASSERT_TRUE(othersDone) << "while one worker was held the others rendered only " << Held.otherTiles
                                << " of the " << TileCount - 1 << " other tiles";
        expect_every_tile_once();
        EXPECT_EQ(Held.heldTiles, 1) << "the held worker took another tile after it was let go";
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
            run_render_phase(pool, NoJob);
            expect_every_tile_once();
        }
        stop_workers(pool);
    }
}
