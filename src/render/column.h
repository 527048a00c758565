// The column renderer's pieces: the open row range and the ordering of one
// cell's hits.
#pragma once

#include <cstdint>

#include "render/ray_hit.h"
#include "render/spans.h"

constexpr int32_t MaxCellHits = 16;

// The hits of one cell: the buffer, their sort keys (the shapes' zTop and
// zBottom) and the drawing order, nearest at the highest position.
struct CellHits {
    RayHit hits[MaxCellHits];
    double zTop[MaxCellHits];
    double zBottom[MaxCellHits];
    int32_t order[MaxCellHits];
    int32_t count;
};

// Shrinks the open range [openTop, openBottom] from its ends by the rows the
// hit's wall and faces cover (transparent texels count as covering).
void cover_rows(int32_t& openBottom, int32_t& openTop, const RayHit& h, int32_t horizonOffset);

// Bubble sort of hits.order in at most 2n passes, up to the first pass without
// a swap: overlapping height ranges by depth, everything else by vertical
// distance from the eye; the hit to draw last ends at position 0.
void order_hits(CellHits& hits, double eye);
