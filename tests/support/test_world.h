// Worlds of a test's own, their shapes freed with them: an empty one, or the
// real one built from freshly generated content.
#pragma once

#include <memory>

#include "content/content.h"
#include "content/texture.h"
#include "world/builder.h"
#include "world/world.h"

struct WorldDeleter {
    void operator()(WorldGrid* world) const {
        clear_world(*world);
        delete world;
    }
};
using OwnedWorld = std::unique_ptr<WorldGrid, WorldDeleter>;

inline OwnedWorld empty_world() { return OwnedWorld(new WorldGrid{}); }

// Generates the content into the TextureTable and builds the world from it.
inline OwnedWorld built_world() {
    generate_content();
    OwnedWorld world = empty_world();
    build_world(*world, TextureTable);
    return world;
}
