// Builds the world once at start from the height map texture and the fixed
// scene table.
#pragma once

#include <string>

#include "world/world.h"

struct Texture;

// The terrain of one cell: two triangle sheets over the corner heights
// h00 (local 0, 0), h10, h11 and h01, split along the diagonal (0, 0)-(1, 1).
void add_terrain_cell(WorldGrid& grid, int32_t a, int32_t b, double h00, double h10, double h11, double h01,
                      Texture* topTexture);

// Fills the (empty) grid from the base textures (the TextureTable, indexed by
// BaseTexture): reads and changes the height map and keeps pointers to the
// others in the shapes.
void build_world(WorldGrid& grid, Texture* textures);

// Checks the built world's invariants; false with a message if one fails.
bool check_world(const WorldGrid& grid, std::string* error);
