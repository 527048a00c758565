#include <gtest/gtest.h>

#include <string>

#include "content/content.h"
#include "content/texture.h"
#include "world/builder.h"
#include "world/shapes.h"

namespace {

// Noise in the upper bytes and every low byte in use.
constexpr uint32_t HeightPixel(int32_t x, int32_t y) { return 0xABCDEF00u | uint32_t((x * 37 + y * 11) & 0xFF); }

struct BuilderTest : ::testing::Test {
    WorldGrid grid{};

    void SetUp() override {
        generate_content();
        for (int32_t y = 0; y < 128; ++y) {
            for (int32_t x = 0; x < 128; ++x) TextureTable[HeightMap].pixels[y * 128 + x] = HeightPixel(x, y);
        }
        TextureTable[HeightMap].pixels[20 * 128 + 20] = 0xFFFFFF00u;
        TextureTable[HeightMap].pixels[20 * 128 + 21] = 0x000000FFu;
        build_world(grid, TextureTable);
    }
    void TearDown() override {
        clear_world(grid);
        reset_texture_table();
    }
    void rebuild() {
        clear_world(grid);
        build_world(grid, TextureTable);
    }

    const Shape& shape(int32_t a, int32_t b, uint32_t i) const { return cell_at(grid, a, b).shapes[i]; }
};

// The built world passes its checks and holds every shape; the terrain
// heights come from the height map's low byte alone.
TEST_F(BuilderTest, CountsInvariantsAndTerrainFromTheLowByte) {
    uint32_t total = 0;
    for (int32_t a = 0; a < GridSize; ++a)
        for (int32_t b = 0; b < GridSize; ++b) total += cell_at(grid, a, b).shapeCount;
    EXPECT_EQ(total, 1800u + 116u + 100u);
    std::string error;
    EXPECT_TRUE(check_world(grid, &error)) << error;
    for (int32_t a = 1; a <= 10; ++a)
        for (int32_t b = 1; b <= 6; ++b)
            for (int32_t k = 0; k < 6; ++k)
                ASSERT_EQ(shape(a, b, k / 3).geometry.polygon->vertices[k % 3].zTop, -2) << a << ", " << b;
    EXPECT_EQ(shape(20, 14, 0).geometry.polygon->vertices[2].zTop, double(HeightPixel(21, 15) & 0xFF) / 64 - 3);
    EXPECT_EQ(shape(20, 20, 0).geometry.polygon->vertices[0].zTop, -3);
    EXPECT_EQ(shape(20, 20, 1).geometry.polygon->vertices[2].zTop, 0.984375);  // corner (21, 20)
}

TEST_F(BuilderTest, BrokenInvariantsNameTheCell) {
    std::string error;
    PolygonGeometry flat{};
    flat.vertices[1] = ShapeVertex{0, 1, 0, 0};
    flat.vertices[2] = ShapeVertex{1, 1, 0, 0};
    for (int32_t i = 0; i < 3; ++i) add_polygon_shape(grid, 9, 2, TriangleSheet, flat);
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (9, 2): holds 17 shapes, more than 16");

    rebuild();
    cell_at(grid, 5, 2).shapes[4].geometry.cylinder->sideTexture = nullptr;
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (5, 2): shape 4 (a cylinder) has no side texture");

    rebuild();
    flat.vertices[1] = ShapeVertex{0.5, 0.5, 0, 0};
    add_polygon_shape(grid, 12, 12, TriangleSheet, flat);
    EXPECT_FALSE(check_world(grid, &error));
    EXPECT_EQ(error, "world cell (12, 12): shape 2 has collinear vertices 0, 1 and 2");
}

}  // namespace
