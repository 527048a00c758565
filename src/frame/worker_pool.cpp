// The render workers. Each waits for its start signal, takes tiles from the
// TileCounter until it gets -1 and renders them; the last one to finish
// signals the phase done. The frame thread releases all of them and waits
// for that one signal.
#include "frame/worker_pool.h"

#include <atomic>
#include <memory>

namespace {

struct Worker {
    WorkerPool* pool;
    PlatformSemaphore* start;
    PlatformThread* thread;
    std::unique_ptr<TileScratch> scratch;
};

} // namespace

struct WorkerPool {
    RenderTile renderTile;
    const RenderJob* job = nullptr; // the phase's job, set before the start signals
    TileCounter tiles;
    int32_t count;
    std::atomic<int32_t> running{0};    // workers still in the phase
    PlatformSemaphore* done = nullptr;  // released by the last of them
    Worker workers[WorkerCount];
    std::atomic<bool> stopping{false};
};

int32_t next_tile(TileCounter& tiles) {
    spin_lock_acquire(tiles.lock);
    int32_t tile = tiles.next;
    if (tile != -1) {
        tiles.next = tile + 1;
        if (tile + 1 > TileCount) {
            tiles.next = -1;
            tile = -1;
        }
    }
    spin_lock_release(tiles.lock);
    return tile;
}

namespace {

void worker_main(void* argument) {
    Worker& worker = *static_cast<Worker*>(argument);
    for (;;) {
        wait_semaphore(worker.start);
        if (worker.pool->stopping.load(std::memory_order_acquire)) return;
        TileCounter& tiles = worker.pool->tiles;
        for (int32_t tile = next_tile(tiles); tile != -1; tile = next_tile(tiles))
            worker.pool->renderTile(tile, *worker.pool->job, *worker.scratch);
        // Each count down publishes the worker's pixels; the last one also
        // acquires everyone else's, and hands them all on with the signal.
        if (worker.pool->running.fetch_sub(1, std::memory_order_acq_rel) == 1) release_semaphore(worker.pool->done);
    }
}

} // namespace

WorkerPool* start_workers(int32_t count, RenderTile renderTile) {
    if (count < 1) count = 1;
    if (count > WorkerCount) count = WorkerCount;
    WorkerPool* pool = new WorkerPool;
    pool->renderTile = renderTile;
    pool->count = count;
    pool->done = create_semaphore();
    for (int32_t i = 0; i < count; ++i) {
        Worker& worker = pool->workers[i];
        worker.pool = pool;
        worker.start = create_semaphore();
        worker.scratch = std::make_unique<TileScratch>();
        worker.thread = start_thread(worker_main, &worker);
    }
    return pool;
}

void draw_job_tile(int32_t tile, const RenderJob& job, TileScratch& scratch) {
    render_tile(tile, *job.world, job.view, scratch, job.frame);
}

void run_render_phase(WorkerPool* pool, const RenderJob& job) {
    // No worker runs here, so the plain stores need no lock; the start
    // signals order them before every worker's first request.
    pool->tiles.next = 0;
    pool->job = &job;
    pool->running.store(pool->count, std::memory_order_relaxed);
    for (int32_t i = 0; i < pool->count; ++i) release_semaphore(pool->workers[i].start);
    wait_semaphore(pool->done);
}

void stop_workers(WorkerPool* pool) {
    if (!pool) return;
    pool->stopping.store(true, std::memory_order_release);
    for (int32_t i = 0; i < pool->count; ++i) release_semaphore(pool->workers[i].start);
    for (int32_t i = 0; i < pool->count; ++i) {
        Worker& worker = pool->workers[i];
        join_thread(worker.thread);
        destroy_semaphore(worker.start);
    }
    destroy_semaphore(pool->done);
    delete pool;
}
