// Placeholder until the worker pool lands: runs the tiles on the calling thread.
#include "frame/worker_pool.h"

int32_t TileCounter = -1;
SpinLockWord TileLock{0};

int32_t next_tile() { return -1; }

struct WorkerPool {
    void (*renderTile)(int32_t);
};
WorkerPool* start_workers(int32_t, void (*renderTile)(int32_t)) { return new WorkerPool{renderTile}; }
void run_render_phase(WorkerPool* pool) {
    for (int32_t t = 0; t < TileCount; ++t) pool->renderTile(t);
}
void stop_workers(WorkerPool* pool) { delete pool; }
