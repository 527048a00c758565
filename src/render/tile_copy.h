// Moving a drawn tile from its column-major scratch into the row-major frame.
#pragma once

#include <cstdint>

// Writes the TileWidth x ScreenHeight tile in scratch (column c is rows
// [c * ScreenHeight, (c + 1) * ScreenHeight)) into frame, whose rows are
// ScreenWidth pixels apart. scratch is 64-byte aligned; frame may lie anywhere.
void copy_tile_out(const uint32_t* scratch, uint32_t* frame);
