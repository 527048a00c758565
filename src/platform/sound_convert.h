// Decoding of an in-memory WAV image into signed 16-bit samples at the sound
// device's rate and channel count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// False (with the reason) for an empty image or one that is not a WAV file.
bool convert_sound(const SoundImage& sound, int32_t frequency, int32_t channels, std::vector<int16_t>* samples,
                   std::string* error);
