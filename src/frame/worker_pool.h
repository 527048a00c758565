// The render workers: WorkerCount threads that share out the screen's columns
// in tiles of TileWidth, taken from a counter under a spin lock.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/spin_lock.h"
#include "render/render.h"

constexpr int32_t WorkerCount = 8;
constexpr int32_t TileCount = ScreenWidth / TileWidth;

// Next tile to hand out, or -1 when all are handed out (and before the first frame).
extern int32_t TileCounter;
extern SpinLockWord TileLock;

// 0..TileCount - 1, or -1.
int32_t next_tile();

struct WorkerPool;

// What a worker runs for each tile it takes, with the worker's own scratch.
using RenderTile = void (*)(int32_t tile, TileScratch& scratch);

// Starts count workers (1..WorkerCount), each with a TileScratch of its own
// made here; each runs renderTile for every tile it takes.
WorkerPool* start_workers(int32_t count, RenderTile renderTile);

// One render phase: reset the counter, start every worker, wait for all of them.
void run_render_phase(WorkerPool* pool);

// Ends and joins the workers.
void stop_workers(WorkerPool* pool);
