#include "fixtures.h"

#include <cmath>
#include <cstdlib>

#include "../support/render_tiles.h"
#include "content/texture.h"
#include "platform/platform.h"
#include "render/numeric.h"
#include "world/shapes.h"

Texture* make_fixture_texture(int32_t index, int32_t w, int32_t h) {
    Texture& t = TextureTable[index];
    std::free(t.pixels);
    for (uint32_t*& m : t.mips) {
        std::free(m);
        m = nullptr;
    }
    t = Texture{};
    t.width = w;
    t.height = h;
    const int32_t levels = w < 512 ? ilog2(w) : 0;
    for (int32_t level = 0; level <= levels; ++level) {
        const int32_t lw = w >> level, lh = h >> level;
        auto* p = static_cast<uint32_t*>(std::calloc(size_t(lw) * size_t(lh) + 1, 4));
        for (int32_t r = 0; r < lh; ++r)
            for (int32_t c = 0; c < lw; ++c)
                p[size_t(r) * lw + c] = (uint32_t(level + 1) << 20) | (uint32_t(r & 1023) << 10) | uint32_t(c & 1023);
        if (level == 0) t.pixels = p;
        else t.mips[level - 1] = p;
    }
    if (texture_count < BaseTextureCount) texture_count = BaseTextureCount;
    return &t;
}

PolygonGeometry box_geometry(int32_t a, int32_t b, double x0, double y0, double x1, double y1, double zBottom,
                             double zTop, Texture* side, Texture* top, Texture* bottom) {
    const double xy[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    PolygonGeometry g{};
    for (int32_t i = 0; i < 4; ++i) g.vertices[i] = {xy[i][0], xy[i][1], zBottom, zTop};
    for (int32_t i = 0; i < 4; ++i) {
        g.edges[i] = make_edge_line(a, b, xy[i][0], xy[i][1], xy[(i + 1) % 4][0], xy[(i + 1) % 4][1]);
        g.sideTextures[i] = side;
    }
    g.topPlane = {zTop, 0, 0};
    g.bottomPlane = {zBottom, 0, 0};
    g.topTexture = top;
    g.bottomTexture = bottom;
    return g;
}

void add_shape(WorldGrid& world, int32_t a, int32_t b, int32_t kind, const PolygonGeometry& g, double zTop,
               double zBottom) {
    GridCell& cell = cell_at(world, a, b);
    cell.shapes = static_cast<Shape*>(std::realloc(cell.shapes, sizeof(Shape) * (cell.shapeCount + 1)));
    Shape& s = cell.shapes[cell.shapeCount++];
    s = Shape{};
    s.geometry.polygon = new PolygonGeometry(g);
    s.kind = kind;
    s.zTop = zTop;
    s.zBottom = zBottom;
    measure_cell_extent(cell);
}

Camera camera_at(double x, double y, double eye, double heading) {
    Camera camera{};
    camera.x = x;
    camera.y = y;
    camera.z = camera.renderZ = eye;
    set_camera_heading(camera, heading);
    return camera;
}

FixtureScene::FixtureScene(double x, double y, double eye, double heading, int32_t horizonOffset)
    : camera(camera_at(x, y, eye, heading)), horizon(horizonOffset) {
    for (int32_t a = 1; a < GridSize - 1; ++a)
        for (int32_t b = 1; b < GridSize - 1; ++b) cell_at(*world, a, b).inWorld = 1;
    if (FrameBuffer == nullptr) platform_allocate_frame_buffer(nullptr);
    make_fixture_texture(Sky, 1024, 128);
}

void draw_scene(FixtureScene& scene) {
    render_all_tiles(*scene.world, make_view(scene.camera, scene.horizon), FrameBuffer);
}
