// The render workers: up to WorkerCount threads that share out the screen's
// columns in tiles of TileWidth, taken one at a time from a counter under a
// spin lock, so that a worker that finishes early takes the next free tile.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/spin_lock.h"
#include "render/render.h"
#include "world/world.h"

constexpr int32_t WorkerCount = 8;
constexpr int32_t TileCount = ScreenWidth / TileWidth;

// The tiles of the frame being rendered.
struct TileCounter {
    int32_t next = -1;     // the next tile to hand out; -1: all handed out, or before the first frame
    SpinLockWord lock{0};  // held for every read-modify-write of next by a worker
};

// 0..TileCount - 1 in the order asked, then -1 until next is set to 0 again.
int32_t next_tile(TileCounter& tiles);

// What the workers draw in one render phase: the world seen through the
// view, into frame (ScreenWidth x ScreenHeight). The rays set the visited
// flags of the cells they enter.
struct RenderJob {
    WorldGrid* world;
    View view;
    uint32_t* frame;
};

// What a worker runs for each tile it takes, with the worker's own scratch.
using RenderTile = void (*)(int32_t tile, const RenderJob& job, TileScratch& scratch);

// render_tile for the job: what the workers run unless told otherwise.
void draw_job_tile(int32_t tile, const RenderJob& job, TileScratch& scratch);

struct WorkerPool;

// Starts count workers (1..WorkerCount), each with a TileScratch of its own
// made here; each runs renderTile for every tile it takes.
WorkerPool* start_workers(int32_t count, RenderTile renderTile = draw_job_tile);

// One render phase: the counter set to 0, every worker started on the job,
// then waited for; every tile has been rendered exactly once when it returns.
void run_render_phase(WorkerPool* pool, const RenderJob& job);

// Ends and joins the workers; null is allowed.
void stop_workers(WorkerPool* pool);
