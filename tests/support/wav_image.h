// A canonical WAV image (a 44-byte header, 16-bit PCM) of the samples, as
// the program's own sound images are.
#pragma once

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> wav_image(uint32_t rate, const std::vector<int16_t>& samples, uint16_t channels = 1) {
    std::vector<uint8_t> bytes;
    const auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    const auto tag = [&](const char* name) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(name[i]));
    };
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(channels, 2);
    put(rate, 4);
    put(rate * 2 * channels, 4);
    put(2 * channels, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const int16_t sample : samples) put(uint16_t(sample), 2);
    return bytes;
}
