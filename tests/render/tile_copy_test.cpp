#include "render/tile_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "render/render.h"

namespace {

// Each way of copying (a frame aligned for 64-byte streaming stores, one for
// 32-byte ones, one for 16-byte ones, and one for plain stores) puts every
// pixel of the tile at its row and column, and writes nothing beside the tile.
TEST(TileCopy, EveryAlignmentPutsEachPixelAtItsRowAndColumn) {
    const auto tile = std::make_unique<TileScratch>();
    for (int32_t c = 0; c < TileWidth; ++c)
        for (int32_t r = 0; r < ScreenHeight; ++r)
            tile->pixels[size_t(c) * ScreenHeight + size_t(r)] = uint32_t(c) << 16 | uint32_t(r);
    constexpr uint32_t Untouched = 0xDEADBEEF;
    const size_t frameSize = size_t(ScreenWidth) * ScreenHeight;
    std::vector<uint32_t> block(frameSize + 64, Untouched);
    const uintptr_t start = reinterpret_cast<uintptr_t>(block.data());
    uint32_t* const aligned = block.data() + ((64 - start % 64) % 64) / sizeof(uint32_t);
    const int32_t x0 = 2 * TileWidth;
    for (const int32_t offset : {0, 8, 4, 1}) {  // 64-, 32-, 16- and 4-byte-aligned
        SCOPED_TRACE(testing::Message() << "frame offset " << offset * 4 << " bytes");
        uint32_t* const frame = aligned + offset;
        std::fill(block.begin(), block.end(), Untouched);
        copy_tile_out(tile->pixels, frame + x0);
        for (int32_t r = 0; r < ScreenHeight; ++r) {
            const uint32_t* const row = frame + size_t(r) * ScreenWidth;
            for (int32_t c = 0; c < TileWidth; ++c)
                ASSERT_EQ(row[x0 + c], uint32_t(c) << 16 | uint32_t(r)) << "row " << r << ", column " << c;
            ASSERT_EQ(row[x0 - 1], Untouched) << "row " << r;
            ASSERT_EQ(row[x0 + TileWidth], Untouched) << "row " << r;
        }
    }
}

}  // namespace
