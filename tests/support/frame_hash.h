// Frames as hashes: FNV-1a over the FrameBuffer's pixels taken as
// little-endian 4-byte words, and the hashes kept in golden_frames.txt after
// the frames were looked at.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "files.h"
#include "platform/platform.h"

inline std::string frame_hash() {
    uint64_t h = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < size_t(ScreenWidth) * size_t(ScreenHeight); ++i)
        for (int k = 0; k < 4; ++k) {
            h ^= (FrameBuffer[i] >> (8 * k)) & 0xFF;
            h *= 0x100000001b3ull;
        }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// Name to hash, one frame a line; lines starting with # are comments.
inline std::map<std::string, std::string> golden_frame_hashes() {
    std::map<std::string, std::string> golden;
    for (const std::string& line : lines_of(read_text_file(QUORVALITE_SOURCE_DIR "/tests/render/golden_frames.txt"))) {
        std::istringstream fields(line);
        std::string name, hash;
        if (fields >> name >> hash && name[0] != '#') golden[name] = hash;
    }
    return golden;
}
