// Frame checks that leave something to look at: the FrameBuffer as a hash
// (FNV-1a over its pixels taken as little-endian 4-byte words) against the
// one kept in golden_frames.txt after the frame was looked at, or against
// another picture of the same view. A frame that differs is written as a PNG
// into test_frames in the build folder, named in the failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "files.h"
#include "platform/platform.h"
#include "system/system.h"

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

// Writes a whole frame as <build folder>/test_frames/<name>.png; says where,
// or why not.
inline std::string write_test_frame(const std::string& name, const uint32_t* pixels) {
    const std::filesystem::path folder = std::filesystem::path(QUORVALITE_BINARY).parent_path() / "test_frames";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (folder / (name + ".png")).string();
    std::string error;
    if (!write_png(path, pixels, ScreenWidth, ScreenHeight, ScreenWidth, false, &error))
        return "(not written: " + error + ")";
    return path;
}

// A copy of the FrameBuffer under a name, to compare a later frame with.
struct KeptFrame {
    std::string name;
    std::vector<uint32_t> pixels;
};

inline KeptFrame keep_frame(const std::string& name) {
    return KeptFrame{name, std::vector<uint32_t>(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight)};
}

// The FrameBuffer's hash against the one kept for it (empty: none kept). On
// a mismatch the frame is written as <name>.png.
inline testing::AssertionResult frame_has_hash(const std::string& name, const std::string& expectedHash) {
    const std::string hash = frame_hash();
    if (hash == expectedHash) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "frame " << name << " has hash " << hash << ", expected "
                                       << (expectedHash.empty() ? "a kept hash, but none is kept" : expectedHash)
                                       << "; the frame is written to " << write_test_frame(name, FrameBuffer);
}

// The FrameBuffer against another picture of the same view. On a mismatch
// both are written: the FrameBuffer as <name>.png, the other as <other.name>.png.
inline testing::AssertionResult frame_matches(const std::string& name, const KeptFrame& other) {
    const size_t count = size_t(ScreenWidth) * ScreenHeight;
    size_t differing = 0, first = 0;
    for (size_t i = count; i-- > 0;)
        if (FrameBuffer[i] != other.pixels[i]) ++differing, first = i;
    if (differing == 0) return testing::AssertionSuccess();
    char pixels[96];
    std::snprintf(pixels, sizeof pixels, "first at column %zu, row %zu: 0x%06x against 0x%06x",
                  first % ScreenWidth, first / ScreenWidth, FrameBuffer[first], other.pixels[first]);
    return testing::AssertionFailure() << "frame " << name << " differs from " << other.name << " in "
                                       << differing << " pixels, " << pixels << "; the frames are written to "
                                       << write_test_frame(name, FrameBuffer) << " and "
                                       << write_test_frame(other.name, other.pixels.data());
}
