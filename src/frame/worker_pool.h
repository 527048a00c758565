// The render workers: up to WorkerCount threads that share out the screen's
// columns in tiles of TileWidth, taken one at a time from a counter under a
// spin lock, so that a worker that finishes early takes the next free tile.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/spin_lock.h"
#include "render/render.h"

constexpr int32_t WorkerCount = 8;
constexpr int32_t TileWidth = 64;
constexpr int32_t TileCount = ScreenWidth / TileWidth;

// The tiles of the frame being rendered.
struct TileCounter {
    int32_t next = -1;     // the next tile to hand out; -1: all handed out, or before the first frame
    SpinLockWord lock{0};  // held for every read-modify-write of next by a worker
};

// 0..TileCount - 1 in the order asked, then -1 until next is set to 0 again.
int32_t next_tile(TileCounter& tiles);

struct WorkerPool;

// What a worker runs for each tile it takes, with the worker's own scratch.
using RenderTile = void (*)(int32_t tile, TileScratch& scratch);

// Starts count workers (1..WorkerCount), each with a TileScratch of its own
// made here; each runs renderTile for every tile it takes.
WorkerPool* start_workers(int32_t count, RenderTile renderTile);

// One render phase: the counter set to 0, every worker started, then waited
// for; every tile has been rendered exactly once when it returns.
void run_render_phase(WorkerPool* pool);

// Ends and joins the workers; null is allowed.
void stop_workers(WorkerPool* pool);
