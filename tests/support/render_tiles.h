// Drawing a whole view on the test's own thread, tile by tile, as one worker
// would.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "render/render.h"

inline void render_all_tiles(WorldGrid& world, const View& view, uint32_t* frame) {
    static const std::unique_ptr<TileScratch> scratch = std::make_unique<TileScratch>();
    for (int32_t t = 0; t < ScreenWidth / TileWidth; ++t) render_tile(t, world, view, *scratch, frame);
}
