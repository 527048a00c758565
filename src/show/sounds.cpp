// Placeholder until the sounds land.
#include "show/sounds.h"

const SoundImage KeyClick{"KeyClick", nullptr, 0};
const SoundImage FootstepA{"FootstepA", nullptr, 0};
const SoundImage FootstepB{"FootstepB", nullptr, 0};
