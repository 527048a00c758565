// The three embedded sound effects, complete RIFF/WAVE images.
#pragma once

#include "platform/platform.h"

extern const SoundImage KeyClick;
extern const SoundImage FootstepA;
extern const SoundImage FootstepB;
