// Builds the world once at start from texture 7 (the height map) and the
// fixed scene table.
#pragma once

#include <string>

#include "world/world.h"

// Fills the (empty) grid; reads and changes TextureTable entry 7.
void build_world(WorldGrid& grid);

// Checks the built world's invariants; false with a message if one fails.
bool check_world(const WorldGrid& grid, std::string* error);
