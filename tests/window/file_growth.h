// When files grew: polled every 2 ms from construction to stop, each new
// size of each file is noted with the time it was first seen.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class FileGrowth {
public:
    using Clock = std::chrono::steady_clock;
    explicit FileGrowth(std::vector<std::string> paths);
    ~FileGrowth();
    FileGrowth(const FileGrowth&) = delete;
    FileGrowth& operator=(const FileGrowth&) = delete;
    void stop();

    // After stop, for the file of that index: when it was first seen
    // holding more than byteOffset bytes (the last look when never).
    Clock::time_point first_holding(size_t file, int64_t byteOffset) const;
    // After stop: when the file was first seen at the last size it had
    // before it held more than byteOffset bytes (the start for no size).
    Clock::time_point last_growth_without(size_t file, int64_t byteOffset) const;

private:
    void watch();
    std::vector<std::string> paths_;
    // Per file: (size, first seen), starting with (0, start).
    std::vector<std::vector<std::pair<int64_t, Clock::time_point>>> sizes_;
    Clock::time_point lastLook_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
