// The scene table: one row per shape with the cells it goes to. Heights are
// zBottom .. zTop, one pair for every vertex or four pairs (vertex 0 first);
// side textures, uMode and fitHeight give one value for every edge or one per
// edge (edge 0 first); textures are base textures by name, "no" is none.
#include "world/scene_table.h"

#include <initializer_list>

#include "content/base_textures.h"
#include "world/world.h"

namespace {

constexpr int32_t no = NoTexture;

// Copies a list of one value (meaning every entry) or of one value per entry.
template <typename T>
void spread(std::initializer_list<T> values, T* out) {
    int32_t i = 0;
    for (const T& value : values) out[i++] = value;
    for (; values.size() == 1 && i < 4; ++i) out[i] = *values.begin();
}

SceneRow polygon(int32_t number, const char* what, std::initializer_list<SceneCell> cells, int32_t kind,
                 std::initializer_list<SceneCorner> corners, std::initializer_list<SceneHeight> heights,
                 std::initializer_list<int32_t> sides, std::initializer_list<int32_t> uMode,
                 std::initializer_list<int32_t> fitHeight, int32_t top, int32_t bottom) {
    SceneRow row{number, what, cells, kind, {}, 0, {}, {no, no, no, no}, {}, {}, top, bottom};
    spread(corners, row.corners);
    spread(heights, row.heights);
    spread(sides, row.sideTextures);
    spread(uMode, row.uMode);
    spread(fitHeight, row.fitHeight);
    if (kind == TrianglePrism || kind == TriangleSheet) {
        // A triangle has three edges; entry 3 stays empty.
        row.corners[3] = SceneCorner{};
        row.heights[3] = SceneHeight{};
        row.sideTextures[3] = no;
        row.uMode[3] = 0;
        row.fitHeight[3] = 0;
    }
    return row;
}

SceneRow cylinder(int32_t number, const char* what, std::initializer_list<SceneCell> cells, SceneCorner centre,
                  double radius, std::initializer_list<SceneHeight> heights, int32_t side, int32_t top) {
    SceneRow row{number, what, cells, Cylinder, {centre}, radius, {}, {side, no, no, no}, {}, {}, top, no};
    spread(heights, row.heights);
    return row;
}

// The staircase behind the inner wall: five steps in each of two cells,
// climbing towards smaller Y from a top of -0.8 up to 0.1.
void add_staircase(std::vector<SceneRow>& rows) {
    for (int32_t j = 0; j <= 4; ++j) {
        const double y = 0.2 * j;
        rows.push_back(polygon(34 + 2 * j, "stair step", {{10, 4}}, QuadPrism, {{0.2, y}, {0.2, y + 0.2}, {1, y + 0.2}, {1, y}},
                               {{-2, -0.4 - 0.1 * j}}, {RedBricks}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles));
        rows.push_back(polygon(35 + 2 * j, "stair step", {{10, 3}}, QuadPrism, {{0.2, y}, {0.2, y + 0.2}, {1, y + 0.2}, {1, y}},
                               {{-2, 0.1 - 0.1 * j}}, {RedBricks}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles));
    }
}

}  // namespace

std::vector<SceneRow> scene_rows() {
    std::vector<SceneRow> rows = {
    polygon(1, "wall piece on the cell's low-x side", {{6, 2}, {6, 4}, {6, 5}, {10, 2}, {10, 3}, {10, 4}, {11, 5}, {11, 4}, {11, 3}, {11, 2}}, QuadPrism, {{0, 0}, {0, 1}, {0.2, 1}, {0.2, 0}}, {{-2, 0}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(2, "triangular step", {{10, 5}}, TrianglePrism, {{0, 0}, {0.5, 1}, {0, 1}}, {{-1.3, -1.2}}, {RedBricks}, {1, 0, 1}, {0}, SandTiles, SandTiles),
    polygon(3, "triangular step", {{10, 5}}, TrianglePrism, {{0, 0}, {0.5, 1}, {1, 1}}, {{-1.2, -1.1}}, {RedBricks}, {1, 0, 1}, {0}, SandTiles, SandTiles),
    polygon(4, "triangular step", {{10, 5}}, TrianglePrism, {{0, 0}, {1, 0.5}, {1, 1}}, {{-1.1, -1}}, {RedBricks}, {1, 0, 1}, {0}, SandTiles, SandTiles),
    polygon(5, "triangular step", {{10, 5}}, TrianglePrism, {{0, 0}, {1, 0.5}, {1, 0}}, {{-1, -0.9}}, {RedBricks}, {1, 0, 1}, {0}, SandTiles, SandTiles),
    polygon(6, "wall piece on the cell's low-y side", {{6, 6}, {7, 6}, {8, 6}, {9, 6}, {10, 6}}, QuadPrism, {{0, 0}, {0, 0.2}, {1, 0.2}, {1, 0}}, {{-2, 0}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(7, "lintel over the opening in the wall line", {{6, 3}}, QuadPrism, {{0, 0}, {0, 1}, {0.2, 1}, {0.2, 0}}, {{-0.5, 0}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(8, "step", {{5, 3}}, QuadPrism, {{0.8, 0}, {0.8, 1}, {1, 1}, {1, 0}}, {{-1.7, -1.6}}, {SandTiles}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    polygon(9, "step", {{5, 3}}, QuadPrism, {{0.6, 0}, {0.6, 1}, {0.8, 1}, {0.8, 0}}, {{-1.8, -1.7}}, {SandTiles}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    polygon(10, "step", {{5, 3}}, QuadPrism, {{0.4, 0}, {0.4, 1}, {0.6, 1}, {0.6, 0}}, {{-1.9, -1.8}}, {SandTiles}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    polygon(11, "step", {{5, 3}}, QuadPrism, {{0.2, 0}, {0.2, 1}, {0.4, 1}, {0.4, 0}}, {{-2, -1.9}}, {SandTiles}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    cylinder(12, "quarter-disc step", {{5, 2}}, {1, 1}, 0.8, {{-2, -1.9}}, SandTiles, SandTiles),
    cylinder(13, "quarter-disc step", {{5, 2}}, {1, 1}, 0.6, {{-1.9, -1.8}}, SandTiles, SandTiles),
    cylinder(14, "quarter-disc step", {{5, 2}}, {1, 1}, 0.4, {{-1.8, -1.7}}, SandTiles, SandTiles),
    cylinder(15, "quarter-disc step", {{5, 2}}, {1, 1}, 0.2, {{-1.7, -1.6}}, SandTiles, SandTiles),
    cylinder(16, "quarter-disc step", {{5, 4}}, {1, 0}, 0.8, {{-2, -1.9}}, SandTiles, SandTiles),
    cylinder(17, "quarter-disc step", {{5, 4}}, {1, 0}, 0.6, {{-1.9, -1.8}}, SandTiles, SandTiles),
    cylinder(18, "quarter-disc step", {{5, 4}}, {1, 0}, 0.4, {{-1.8, -1.7}}, SandTiles, SandTiles),
    cylinder(19, "quarter-disc step", {{5, 4}}, {1, 0}, 0.2, {{-1.7, -1.6}}, SandTiles, SandTiles),
    polygon(20, "floor slab", {{6, 3}}, QuadPrism, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-2, -1.6}}, {no}, {1, 0, 1, 0}, {0}, SandTiles, no),
    polygon(21, "floor slab", {{6, 2}, {6, 4}, {6, 5}}, QuadPrism, {{0.2, 0}, {0.2, 1}, {1, 1}, {1, 0}}, {{-2, -1.6}}, {no}, {1, 0, 1, 0}, {0}, SandTiles, no),
    polygon(22, "floor slab", {{7, 2}, {7, 3}}, QuadPrism, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-2, -1.6}}, {no}, {1, 0, 1, 0}, {0}, SandTiles, no),
    polygon(23, "ramp", {{7, 4}}, QuadPrism, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-2, -1.6}, {-1.6, -1.3}, {-1.6, -1.3}, {-2, -1.6}}, {RedBricks}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    polygon(24, "raised floor", {{7, 5}, {8, 2}, {8, 3}, {8, 4}, {8, 5}}, QuadPrism, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-2, -1.3}, {-1.6, -1.3}, {-1.6, -1.3}, {-2, -1.3}}, {RedBricks}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    polygon(25, "raised floor", {{9, 2}, {9, 3}, {9, 4}, {9, 5}}, QuadPrism, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-2, -1.3}, {-1.6, -1.3}, {-1.6, -1.3}, {-2, -1.3}}, {no}, {1, 0, 1, 0}, {0}, SandTiles, no),
    polygon(26, "sloping rail", {{5, 4}}, QuadPrism, {{0.96, 0.1}, {0.96, 0.9}, {0.99, 0.9}, {0.99, 0.1}}, {{-1.35, -1.3}, {-1.65, -1.6}, {-1.65, -1.6}, {-1.35, -1.3}}, {GreyStone}, {1, 0, 1, 0}, {0}, GreyStone, GreyStone),
    polygon(27, "sloping rail", {{5, 2}}, QuadPrism, {{0.96, 0.1}, {0.96, 0.9}, {0.99, 0.9}, {0.99, 0.1}}, {{-1.65, -1.6}, {-1.35, -1.3}, {-1.35, -1.3}, {-1.65, -1.6}}, {GreyStone}, {1, 0, 1, 0}, {0}, GreyStone, GreyStone),
    polygon(28, "partition wall", {{8, 2}, {8, 4}}, QuadPrism, {{0, 0}, {0, 1}, {0.2, 1}, {0.2, 0}}, {{-1.3, 0}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(29, "partition lintel", {{8, 3}}, QuadPrism, {{0, 0}, {0, 1}, {0.2, 1}, {0.2, 0}}, {{-0.5, 0}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(30, "partition sill", {{8, 3}}, QuadPrism, {{0, 0}, {0, 1}, {0.2, 1}, {0.2, 0}}, {{-1.3, -1}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(31, "partition post", {{8, 3}}, QuadPrism, {{0, 0.4}, {0, 0.6}, {0.2, 0.6}, {0.2, 0.4}}, {{-1, -0.5}}, {RedBricks}, {1, 0, 1, 0}, {0}, RedBricks, RedBricks),
    polygon(32, "roof slab", {{6, 2}, {6, 3}, {6, 4}, {6, 5}}, QuadPrism, {{0.2, 0}, {0.2, 1}, {1, 1}, {1, 0}}, {{0, 0.3}}, {RedBricks}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    polygon(33, "roof slab", {{7, 2}, {7, 3}, {7, 4}, {7, 5}, {8, 2}, {8, 3}, {8, 4}, {8, 5}, {9, 2}, {9, 3}, {9, 4}, {9, 5}}, QuadPrism, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{0, 0.3}}, {RedBricks}, {1, 0, 1, 0}, {0}, SandTiles, SandTiles),
    };
    add_staircase(rows);
    rows.insert(rows.end(), {
    polygon(44, "seat leg", {{9, 3}}, QuadPrism, {{0.09, 0.202}, {0.115, 0.178}, {0.14, 0.202}, {0.116, 0.225}}, {{-1.3, -1.1}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(45, "seat leg", {{9, 3}}, QuadPrism, {{0.367, 0.202}, {0.392, 0.178}, {0.417, 0.202}, {0.393, 0.225}}, {{-1.3, -1.1}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(46, "seat leg", {{9, 3}}, QuadPrism, {{0.2285, 0.3405}, {0.2535, 0.3165}, {0.2785, 0.3405}, {0.2545, 0.3635}}, {{-1.3, -1.1}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(47, "seat leg", {{9, 3}}, QuadPrism, {{0.2285, 0.0635}, {0.2535, 0.0395}, {0.2785, 0.0635}, {0.2545, 0.0865}}, {{-1.3, -1.1}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(48, "seat", {{9, 3}}, QuadPrism, {{0.09, 0.202}, {0.2535, 0.0395}, {0.417, 0.202}, {0.2545, 0.3635}}, {{-1.1, -1.07}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(49, "seat back", {{9, 3}}, QuadPrism, {{0.09, 0.202}, {0.115, 0.178}, {0.278, 0.34}, {0.255, 0.365}}, {{-1.07, -0.85}, {-1.07, -1.07}, {-1.07, -1.07}, {-1.07, -1.07}}, {BrownNoise, BrownNoise, BrownNoise, no}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(50, "seat back", {{9, 3}}, QuadPrism, {{0.068, 0.224}, {0.093, 0.2}, {0.256, 0.362}, {0.233, 0.387}}, {{-0.85, -0.85}, {-1.07, -0.85}, {-1.07, -0.85}, {-1.07, -1.07}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(51, "notice on the wall", {{5, 5}}, QuadPrism, {{0.9, 0}, {0.9, 0.6}, {1, 0.6}, {1, 0}}, {{-1.7, -1.2}}, {NoticePage, no, no, no}, {3, 3, 3, 3}, {1, 1, 1, 1}, no, no),
    polygon(52, "sign board", {{2, 3}}, QuadPrism, {{0, 0}, {0, 1}, {0.1, 1}, {0.1, 0}}, {{-1.9, -0.8}}, {FarewellPage, no, FarewellPage, no}, {2, 2, 2, 2}, {1, 1, 1, 1}, no, no),
    cylinder(53, "desk leg", {{9, 2}}, {0.9, 0.9}, 0.02, {{-1.3, -1.05}}, SandTiles, SandTiles),
    cylinder(54, "desk leg", {{9, 2}}, {0.6, 0.9}, 0.02, {{-1.3, -1.05}}, SandTiles, SandTiles),
    cylinder(55, "desk leg", {{9, 2}}, {0.6, 0.1}, 0.02, {{-1.3, -1.05}}, SandTiles, SandTiles),
    cylinder(56, "desk leg", {{9, 2}}, {0.9, 0.1}, 0.02, {{-1.3, -1.05}}, SandTiles, SandTiles),
    polygon(57, "desk top", {{9, 2}}, QuadPrism, {{0.95, 0.95}, {0.55, 0.95}, {0.55, 0.05}, {0.95, 0.05}}, {{-1.05, -1.02}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(58, "screen foot", {{9, 2}}, QuadPrism, {{0.85, 0.65}, {0.84, 0.65}, {0.84, 0.55}, {0.85, 0.55}}, {{-1.02, -0.98}}, {BrownNoise}, {1, 0, 1, 0}, {0}, BrownNoise, BrownNoise),
    polygon(59, "screen housing", {{9, 2}}, QuadPrism, {{0.85, 0.8}, {0.83, 0.8}, {0.83, 0.4}, {0.85, 0.4}}, {{-0.98, -0.63}}, {LightGreyNoise}, {0, 1, 0, 1}, {0}, LightGreyNoise, LightGreyNoise),
    polygon(60, "computer case", {{9, 2}}, QuadPrism, {{0.98, 0.35}, {0.84, 0.35}, {0.84, 0.1}, {0.98, 0.1}}, {{-1.02, -0.95}}, {GreyStone}, {0, 1, 0, 1}, {0}, GreyStone, GreyStone),
    polygon(61, "label on the case front", {{9, 2}}, QuadPrism, {{0.98, 0.35}, {0.84, 0.35}, {0.84, 0.1}, {0.98, 0.1}}, {{-0.99, -0.95}}, {no, ComputerLabel, no, no}, {3, 3, 3, 3}, {1, 1, 1, 1}, no, no),
    polygon(62, "screen face", {{9, 2}}, QuadPrism, {{0.85, 0.78}, {0.829, 0.78}, {0.829, 0.42}, {0.85, 0.42}}, {{-0.96, -0.65}}, {no, TerminalScreen, no, no}, {3, 3, 3, 3}, {1, 1, 1, 1}, no, no),
    });
    return rows;
}
