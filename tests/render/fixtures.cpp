#include "fixtures.h"

#include <cstdlib>

#include "content/texture.h"
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

Shape add_box(WorldGrid& world, int32_t a, int32_t b, int32_t kind, double x0, double y0, double x1, double y1,
              double zBottom, double zTop, Texture* side, Texture* top) {
    const double xy[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    PolygonGeometry g{};
    for (int32_t i = 0; i < 4; ++i) {
        g.vertices[i] = {xy[i][0], xy[i][1], zBottom, zTop};
        g.sideTextures[i] = side;
    }
    g.topTexture = g.bottomTexture = top;
    add_polygon_shape(world, a, b, kind, g);
    const GridCell& cell = cell_at(world, a, b);
    return cell.shapes[cell.shapeCount - 1];
}

RayHit wall_rows(double top, double bottom, Texture* texture) {
    RayHit h{};
    h.hit = true;
    h.scale = 100;
    h.wallTopRow = top;
    h.wallBottomRow = bottom;
    h.wallTexture = texture;
    return h;
}

Camera camera_at(double x, double y, double eye, double heading) {
    Camera camera{};
    camera.x = x;
    camera.y = y;
    camera.z = camera.renderZ = eye;
    set_camera_heading(camera, heading);
    return camera;
}
