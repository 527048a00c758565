// The program's own sound images at the sound track's rate, without a sound
// library, so that every build makes the same track sample for sample.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// The samples of a canonical WAV image (RIFF/WAVE with a 44-byte header,
// 16-bit PCM, mono) at `rate`, a whole multiple k of the image's rate: input
// sample i becomes output sample k i, and the k - 1 samples after it lie on
// the straight line to input sample i + 1 (the last one is held), in integer
// arithmetic. False with a message for any other image or rate.
bool upsample_sound(const SoundImage& sound, int32_t rate, std::vector<int16_t>* samples, std::string* error);
