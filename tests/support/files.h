// Files in tests, the same on every system: temporary folders that clean up,
// a file read back byte for byte, the lines of a text, a trace's frame lines.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// A new folder in the system's temporary folder, removed with all it holds.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::random_device device;
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        // create_directory is false where something of that name is already.
        do path = base / ("quorvalite_test_" + std::to_string(device()));
        while (!std::filesystem::create_directory(path, error) && !error);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// The file's bytes as they are (no line-end translation on any system).
inline std::string read_text_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The lines of a text, without their line ends.
inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// How many "frame J ..." lines a trace holds.
inline int64_t frame_lines_in(const std::string& trace) {
    int64_t frames = 0;
    for (const std::string& line : lines_of(trace)) frames += line.rfind("frame ", 0) == 0;
    return frames;
}
