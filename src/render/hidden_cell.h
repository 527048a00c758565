// Passing over cells that cannot show: a cell whose surfaces would all fall
// on rows already drawn, and reach neither end of the open range, changes no
// pixel and no open row when drawn, so its shapes need not be intersected.
#pragma once

#include <cstdint>

#include "render/intersect.h"
#include "render/spans.h"

struct GridCell;

// A column's rows as the march leaves them: [openTop, openBottom] is the open
// range; every pixel outside [emptyTop, emptyBottom] is drawn. The empty
// bounds lag behind the pixels and are moved on only when a question needs it.
struct ColumnRows {
    int32_t openTop, openBottom;
    int32_t emptyTop, emptyBottom;
};

// True when drawing cell (cellX, cellY), which the ray crosses between depths
// tEnter and tExit, provably leaves the column and its open range as they are.
bool cell_cannot_show(const GridCell& cell, int32_t cellX, int32_t cellY, const Ray& ray, double tEnter,
                      double tExit, int32_t horizon, ColumnTarget column, ColumnRows& rows);
