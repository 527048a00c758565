// The fixed scene placed over the terrain: the house with its walls, floors,
// roof, steps and staircase, the seat, the desk with screen and computer case,
// the notice and the sign board. One row per shape, in the order of placement.
#pragma once

#include <cstdint>
#include <vector>

constexpr int32_t NoTexture = -1;

struct SceneCell {
    int32_t a, b;
};

struct SceneCorner {
    double x, y;  // cell-local
};

struct SceneHeight {
    double zBottom, zTop;
};

// A polygon row: its corners in vertex order; textures are BaseTexture
// numbers or NoTexture. A cylinder row: the centre in corners[0], the radius,
// the round side's texture in sideTextures[0]. A triangle's entry 3 is unused.
struct SceneRow {
    int32_t number;
    const char* what;
    std::vector<SceneCell> cells;  // the same shape goes to each, in this order
    int32_t kind;
    SceneCorner corners[4];
    double radius;
    SceneHeight heights[4];
    int32_t sideTextures[4];
    int32_t uMode[4];
    int32_t fitHeight[4];
    int32_t topTexture;
    int32_t bottomTexture;
};

// All rows in placement order.
std::vector<SceneRow> scene_rows();
