// Placeholder until the world builder lands.
#include "world/builder.h"

void build_world(WorldGrid&) {}
bool check_world(const WorldGrid&, std::string*) { return true; }
