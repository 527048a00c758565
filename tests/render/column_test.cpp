#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/render_tiles.h"
#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/column.h"
#include "render/render.h"
#include "world/world.h"

namespace {

// Each hit narrows the open rows only from the ends it holds, or closes them
// (-1 below: closed), also for a wall right at the camera, whose rows lie far
// beyond any int32. Rows of degenerate geometry (NaN) and faces without a
// texture cover nothing.
TEST(CoverRows, ShrinksTheOpenRangeOnlyFromItsEnds) {
    Texture dummy{};
    RayHit floor{}, nanTop{}, untextured{};
    floor.topTexture = nanTop.topTexture = &dummy;
    floor.topFarRow = 700;
    floor.topNearRow = 1200;
    nanTop.topFarRow = NAN;
    nanTop.topNearRow = 200;
    untextured.topNearRow = 300;
    untextured.bottomNearRow = 700;
    untextured.bottomFarRow = ScreenHeight;
    const int32_t last = ScreenHeight - 1;
    const struct {
        const char* name;
        RayHit hit;
        int32_t top0, bottom0, top, bottom;
    } cases[] = {{"wall from above the screen", wall_rows(-20, 500, &dummy), 0, last, 501, last},
                 {"floor to below the screen", floor, 501, last, 501, 699},
                 {"wall inside the range", wall_rows(550, 600, &dummy), 501, 699, 501, 699},
                 {"wall over both ends", wall_rows(480, 720, &dummy), 501, 699, -1, -1},
                 {"wall right at the camera", wall_rows(-1e300, 1e300, &dummy), 0, last, -1, -1},
                 {"wall with a NaN top row", wall_rows(NAN, 5, &dummy), 0, last, 0, last},
                 {"top face with a NaN far row", nanTop, 0, last, 0, last},
                 {"faces without a texture", untextured, 0, last, 0, last}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t top = c.top0, bottom = c.bottom0;
        cover_rows(bottom, top, c.hit, 0);
        if (c.top < 0) {
            EXPECT_GT(top, bottom);
        } else {
            EXPECT_EQ(top, c.top);
            EXPECT_EQ(bottom, c.bottom);
        }
    }
}

// More shapes in one cell than the hit buffer holds: the rest are dropped and
// the frame is drawn. Only cells that hold a shape and that a ray enters are marked.
TEST(Frame, VisitedFlagsAndTheHitLimit) {
    const OwnedWorld owned = empty_world();
    WorldGrid& world = *owned;
    for (int32_t a = 1; a < GridSize - 1; ++a)
        for (int32_t b = 1; b < GridSize - 1; ++b) cell_at(world, a, b).inWorld = 1;
    Texture* t = make_fixture_texture(0, 128, 128);
    for (int32_t i = 0; i < 20; ++i)
        add_box(world, 7, 9, QuadPrism, 0.1, 0.1, 0.9, 0.9, i * 0.05, i * 0.05 + 0.04, t, t);
    add_box(world, 20, 20, QuadPrism, 0, 0, 1, 1, 0, 1, t, t);  // behind the camera
    std::vector<uint32_t> frame(size_t(ScreenWidth) * ScreenHeight);
    render_all_tiles(world, make_view(camera_at(8.5, 8.5, 0.5, 0.3), -540), frame.data());
    EXPECT_EQ(cell_at(world, 7, 9).visited, 1);
    EXPECT_EQ(cell_at(world, 20, 20).visited, 0);
    EXPECT_EQ(cell_at(world, 8, 8).visited, 0);  // entered, but empty
}

}  // namespace
