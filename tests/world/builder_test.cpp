#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/content.h"
#include "content/texture.h"
#include "world/builder.h"
#include "world/scene_table.h"
#include "world/shapes.h"

namespace {

constexpr uint32_t HeightPixel(int32_t x, int32_t y) { return 0xABCDEF00u | uint32_t((x * 37 + y * 11) & 0xFF); }

struct BuilderTest : ::testing::Test {
    WorldGrid grid{};

    void SetUp() override {
        generate_content();
        // A height map with noise in the upper bytes and every low byte in use.
        for (int32_t y = 0; y < 128; ++y) {
            for (int32_t x = 0; x < 128; ++x) TextureTable[7].pixels[y * 128 + x] = HeightPixel(x, y);
        }
        build_world(grid);
    }
    void TearDown() override {
        clear_world(grid);
        reset_texture_table();
    }

    std::vector<int32_t> kinds(int32_t a, int32_t b) const {
        const GridCell& cell = cell_at(grid, a, b);
        std::vector<int32_t> out;
        for (uint32_t i = 0; i < cell.shapeCount; ++i) out.push_back(cell.shapes[i].kind);
        return out;
    }
    const PolygonGeometry& polygon(int32_t a, int32_t b, uint32_t i) const { return *cell_at(grid, a, b).shapes[i].geometry.polygon; }
};

TEST_F(BuilderTest, CountsAndInvariants) {
    uint32_t total = 0;
    for (int32_t a = 0; a < GridSize; ++a) {
        for (int32_t b = 0; b < GridSize; ++b) {
            const GridCell& cell = cell_at(grid, a, b);
            total += cell.shapeCount;
            const bool outer = a == 0 || b == 0 || a == 31 || b == 31;
            EXPECT_EQ(cell.inWorld, outer ? 0 : 1) << a << ", " << b;
            if (outer) {
                EXPECT_EQ(cell.shapes, nullptr) << a << ", " << b;
            }
        }
    }
    EXPECT_EQ(total, 1800u + 116u + 100u);
    EXPECT_EQ(scene_rows().size(), 62u);
    std::string error;
    EXPECT_TRUE(check_world(grid, &error)) << error;
}

TEST_F(BuilderTest, CellContentsInOrder) {
    EXPECT_EQ(kinds(1, 1), (std::vector<int32_t>{TriangleSheet, TriangleSheet, QuadPrism}));
    const Shape& ringBox = cell_at(grid, 1, 1).shapes[2];
    EXPECT_EQ(ringBox.zBottom, -4);
    EXPECT_EQ(ringBox.zTop, 2);
    EXPECT_EQ(ringBox.geometry.polygon->sideTextures[3], &TextureTable[14]);

    // Terrain, raised floor, roof, then the desk: four legs, top, screen foot,
    // housing, computer case, label and screen face.
    EXPECT_EQ(kinds(9, 2), (std::vector<int32_t>{TriangleSheet, TriangleSheet, QuadPrism, QuadPrism, Cylinder, Cylinder,
                                                 Cylinder, Cylinder, QuadPrism, QuadPrism, QuadPrism, QuadPrism, QuadPrism,
                                                 QuadPrism}));
    EXPECT_EQ(cell_at(grid, 9, 2).shapes[3].zBottom, 0);       // roof
    EXPECT_EQ(cell_at(grid, 9, 2).shapes[6].geometry.cylinder->cx, 0.6);  // third leg
    EXPECT_EQ(cell_at(grid, 9, 2).shapes[6].geometry.cylinder->cy, 0.1);
    // The show draws into the shade-2 variant of the screen face's texture.
    const PolygonGeometry& screen = polygon(9, 2, 13);
    EXPECT_EQ(screen.sideTextures[1], &TextureTable[11]);
    EXPECT_EQ(screen.sideTextures[0], nullptr);
    EXPECT_EQ(screen.edgeShade[1], 2);
    EXPECT_EQ(screen.fitHeight[1], 1);
    EXPECT_EQ(screen.uMode[1], 3);
    EXPECT_EQ(cell_at(grid, 9, 2).shapes[13].zTop, -0.65);

    // A triangle row fills three edges only.
    const PolygonGeometry& step = polygon(10, 5, 3);
    EXPECT_EQ(step.sideTextures[2], &TextureTable[3]);
    EXPECT_EQ(step.sideTextures[3], nullptr);
}

TEST_F(BuilderTest, TerrainHeightsFromTheLowByteAndTheLevelledSite) {
    for (int32_t a = 1; a <= 10; ++a) {
        for (int32_t b = 1; b <= 6; ++b) {
            for (uint32_t i = 0; i < 2; ++i) {
                for (int32_t k = 0; k < 3; ++k) ASSERT_EQ(polygon(a, b, i).vertices[k].zTop, -2) << a << ", " << b;
            }
        }
    }
    // Outside the site: corner (a, b) at local (0, 0), (a + 1, b + 1) at (1, 1).
    const PolygonGeometry& t = polygon(20, 14, 0);
    EXPECT_EQ(t.vertices[0].zTop, double(HeightPixel(20, 14) & 0xFF) / 64 - 3);
    EXPECT_EQ(t.vertices[2].zTop, double(HeightPixel(21, 15) & 0xFF) / 64 - 3);
    EXPECT_EQ(t.vertices[1].zBottom, t.vertices[1].zTop);
    EXPECT_EQ(TextureTable[7].pixels[7 * 128 + 11], 64u);
    EXPECT_EQ(TextureTable[7].pixels[8 * 128 + 11], HeightPixel(11, 8));
}

TEST_F(BuilderTest, HeightMapExtremes) {
    clear_world(grid);
    TextureTable[7].pixels[20 * 128 + 20] = 0xFFFFFF00u;
    TextureTable[7].pixels[20 * 128 + 21] = 0x000000FFu;
    build_world(grid);
    EXPECT_EQ(polygon(20, 20, 0).vertices[0].zTop, -3);
    EXPECT_EQ(polygon(20, 20, 1).vertices[2].zTop, 0.984375);  // corner (21, 20)
}

TEST_F(BuilderTest, StaircaseClimbsTowardsSmallerY) {
    // Cell (10, 4): wall piece, then five steps from y = 0 to y = 1; cell (10, 3) continues.
    const double lowTops[5] = {-0.4, -0.5, -0.6, -0.7, -0.8};
    const double highTops[5] = {0.1, 0, -0.1, -0.2, -0.3};
    for (int32_t j = 0; j < 5; ++j) {
        const Shape& low = cell_at(grid, 10, 4).shapes[3 + j];
        const Shape& high = cell_at(grid, 10, 3).shapes[3 + j];
        EXPECT_NEAR(low.zTop, lowTops[j], 1e-12) << j;
        EXPECT_NEAR(high.zTop, highTops[j], 1e-12) << j;
        EXPECT_EQ(low.zBottom, -2);
        EXPECT_NEAR(low.geometry.polygon->vertices[0].y, 0.2 * j, 1e-12);
        EXPECT_NEAR(high.geometry.polygon->vertices[1].y, 0.2 * j + 0.2, 1e-12);
    }
    EXPECT_EQ(cell_at(grid, 10, 3).shapes[7].geometry.polygon->vertices[1].y, 1);
    EXPECT_EQ(cell_at(grid, 10, 4).shapeCount, 8u);
}

TEST_F(BuilderTest, BrokenInvariantsNameTheCell) {
    std::string error;
    PolygonGeometry flat{};
    flat.vertices[1] = ShapeVertex{0, 1, 0, 0};
    flat.vertices[2] = ShapeVertex{1, 1, 0, 0};
    for (int32_t i = 0; i < 3; ++i) add_polygon_shape(grid, 9, 2, TriangleSheet, flat);
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (9, 2): holds 17 shapes, more than 16");

    clear_world(grid);
    build_world(grid);
    cell_at(grid, 5, 2).shapes[4].geometry.cylinder->sideTexture = nullptr;
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (5, 2): shape 4 (a cylinder) has no side texture");

    clear_world(grid);
    build_world(grid);
    PolygonGeometry line{};
    line.vertices[1] = ShapeVertex{0.5, 0.5, 0, 0};
    line.vertices[2] = ShapeVertex{1, 1, 0, 0};
    add_polygon_shape(grid, 12, 12, TriangleSheet, line);
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (12, 12): shape 2 has collinear vertices 0, 1 and 2");

    clear_world(grid);
    build_world(grid);
    add_polygon_shape(grid, 0, 7, TriangleSheet, flat);
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (0, 7): outer ring cell is not empty");

    clear_world(grid);
    build_world(grid);
    cell_at(grid, 30, 30).shapes[2].geometry.polygon->vertices[2].x = 1.5;
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (30, 30): shape 2 has a vertex outside the cell");
}

}  // namespace
