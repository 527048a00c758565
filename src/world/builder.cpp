// The world builder: levels the building site in the height map, raises the
// terrain from it, rings the inner area with tall boxes and places the scene.
#include "world/builder.h"

#include "content/texture.h"
#include "world/scene_table.h"
#include "world/shapes.h"

namespace {

constexpr int32_t HeightMapWidth = 128;
constexpr uint32_t SiteHeightPixel = 64;  // height -2

// A scene row's texture number as a pointer into textures.
Texture* texture_entry(Texture* textures, int32_t number) { return number == NoTexture ? nullptr : &textures[number]; }

// Corner (x, y) of the grid from the low byte of its height map pixel: 0 is -3, 255 is 0.984375.
double corner_height(const uint32_t* heightMap, int32_t x, int32_t y) {
    return double(heightMap[y * HeightMapWidth + x] & 0xFF) / 64 - 3;
}

// Every corner of the cells a in 1..10, b in 1..6 goes to -2, whatever the map held.
void level_building_site(uint32_t* heightMap) {
    for (int32_t x = 1; x <= 11; ++x) {
        for (int32_t y = 1; y <= 7; ++y) heightMap[y * HeightMapWidth + x] = SiteHeightPixel;
    }
}

void add_terrain(WorldGrid& grid, const uint32_t* heightMap, Texture* ground) {
    for (int32_t a = 1; a <= 30; ++a) {
        for (int32_t b = 1; b <= 30; ++b) {
            add_terrain_cell(grid, a, b, corner_height(heightMap, a, b), corner_height(heightMap, a + 1, b),
                             corner_height(heightMap, a + 1, b + 1), corner_height(heightMap, a, b + 1),
                             ground);
            cell_at(grid, a, b).inWorld = 1;
        }
    }
}

void add_ring_of_boxes(WorldGrid& grid, Texture* textures) {
    PolygonGeometry box{};
    const double corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const int32_t uMode[4] = {1, 0, 1, 0};
    for (int32_t i = 0; i < 4; ++i) {
        box.vertices[i] = ShapeVertex{corners[i][0], corners[i][1], -4, 2};
        box.sideTextures[i] = &textures[DarkRedBricks];
        box.uMode[i] = uMode[i];
    }
    box.topTexture = &textures[RedBricks];
    for (int32_t a = 1; a <= 30; ++a) {
        for (int32_t b = 1; b <= 30; ++b) {
            if (a == 1 || a == 30 || b == 1 || b == 30) add_polygon_shape(grid, a, b, QuadPrism, box);
        }
    }
}

void add_scene_row(WorldGrid& grid, Texture* textures, const SceneRow& row) {
    if (row.kind == Cylinder) {
        CylinderGeometry column{};
        column.cx = row.corners[0].x;
        column.cy = row.corners[0].y;
        column.zBottom = row.heights[0].zBottom;
        column.zTop = row.heights[0].zTop;
        column.radius = row.radius;
        column.sideTexture = texture_entry(textures, row.sideTextures[0]);
        column.topTexture = texture_entry(textures, row.topTexture);
        for (const SceneCell& cell : row.cells) add_cylinder_shape(grid, cell.a, cell.b, column);
        return;
    }
    PolygonGeometry shape{};
    for (int32_t i = 0; i < 4; ++i) {
        shape.vertices[i] = ShapeVertex{row.corners[i].x, row.corners[i].y, row.heights[i].zBottom, row.heights[i].zTop};
        shape.sideTextures[i] = texture_entry(textures, row.sideTextures[i]);
        shape.uMode[i] = row.uMode[i];
        shape.fitHeight[i] = row.fitHeight[i];
    }
    shape.topTexture = texture_entry(textures, row.topTexture);
    shape.bottomTexture = texture_entry(textures, row.bottomTexture);
    for (const SceneCell& cell : row.cells) add_polygon_shape(grid, cell.a, cell.b, row.kind, shape);
}

}  // namespace

void add_terrain_cell(WorldGrid& grid, int32_t a, int32_t b, double h00, double h10, double h11, double h01,
                      Texture* topTexture) {
    // Two sheets split along the diagonal from local (0, 0) to (1, 1).
    PolygonGeometry sheet{};
    sheet.topTexture = topTexture;
    sheet.vertices[0] = ShapeVertex{0, 0, h00, h00};
    sheet.vertices[1] = ShapeVertex{0, 1, h01, h01};
    sheet.vertices[2] = ShapeVertex{1, 1, h11, h11};
    add_polygon_shape(grid, a, b, TriangleSheet, sheet);
    sheet.vertices[1] = ShapeVertex{1, 1, h11, h11};
    sheet.vertices[2] = ShapeVertex{1, 0, h10, h10};
    add_polygon_shape(grid, a, b, TriangleSheet, sheet);
}

void build_world(WorldGrid& grid, Texture* textures) {
    uint32_t* const heightMap = textures[HeightMap].pixels;
    level_building_site(heightMap);
    add_terrain(grid, heightMap, &textures[OliveGround]);
    add_ring_of_boxes(grid, textures);
    for (const SceneRow& row : scene_rows()) add_scene_row(grid, textures, row);
}
