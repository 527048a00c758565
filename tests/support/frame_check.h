// Frame checks that leave something to look at: a FrameBuffer without its
// kept hash, or differing from another picture of the same view, is written
// as a PNG into test_frames in the build folder, named in the failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame_hash.h"
#include "system/system.h"
#include "platform/platform.h"

// <build folder>/test_frames, made when missing.
inline std::filesystem::path test_frames_folder() {
    const std::filesystem::path folder = std::filesystem::path(QUORVALITE_BINARY).parent_path() / "test_frames";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

// Writes a whole frame as <test_frames>/<name>.png; says where, or why not.
inline std::string write_test_frame(const std::string& name, const uint32_t* pixels) {
    const std::string path = (test_frames_folder() / (name + ".png")).string();
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
