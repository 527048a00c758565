#include "capture/sound_upsample.h"

#include <cstring>

namespace {

uint32_t read_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t read_u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

constexpr uint32_t HeaderBytes = 44;

// The image's rate when it is a canonical 16-bit mono PCM file whose data
// lies within it; 0 otherwise.
uint32_t canonical_rate(const SoundImage& sound) {
    const uint8_t* const b = sound.bytes;
    if (!b || sound.size < HeaderBytes) return 0;
    const bool tags = std::memcmp(b, "RIFF", 4) == 0 && std::memcmp(b + 8, "WAVEfmt ", 8) == 0 &&
                      std::memcmp(b + 36, "data", 4) == 0;
    const uint32_t rate = read_u32(b + 24);
    const bool format = read_u32(b + 16) == 16 && read_u16(b + 20) == 1 && read_u16(b + 22) == 1 &&
                        read_u32(b + 28) == rate * 2 && read_u16(b + 32) == 2 && read_u16(b + 34) == 16;
    const bool sizes = read_u32(b + 40) <= sound.size - HeaderBytes;
    return tags && format && sizes && rate > 0 ? rate : 0;
}

int32_t sample_at(const uint8_t* data, size_t i) { return int16_t(read_u16(data + 2 * i)); }

} // namespace

bool upsample_sound(const SoundImage& sound, int32_t rate, std::vector<int16_t>* samples, std::string* error) {
    const std::string name = sound.name ? sound.name : "sound";
    const uint32_t from = canonical_rate(sound);
    if (from == 0) {
        *error = name + " is not a canonical 16-bit mono PCM WAV image";
        return false;
    }
    if (rate <= 0 || uint32_t(rate) % from != 0) {
        *error = name + " (" + std::to_string(from) + " Hz) cannot be converted to " + std::to_string(rate) +
                 " Hz: not a whole multiple";
        return false;
    }
    const int32_t k = int32_t(uint32_t(rate) / from);
    const uint8_t* const data = sound.bytes + HeaderBytes;
    const size_t count = read_u32(sound.bytes + 40) / 2;
    samples->assign(count * size_t(k), 0);
    for (size_t i = 0; i < count; ++i) {
        const int32_t a = sample_at(data, i);
        const int32_t b = i + 1 < count ? sample_at(data, i + 1) : a;
        for (int32_t j = 0; j < k; ++j) (*samples)[i * size_t(k) + size_t(j)] = int16_t(a + (b - a) * j / k);
    }
    return true;
}
