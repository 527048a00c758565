#include "file_growth.h"

#include <sys/stat.h>

FileGrowth::FileGrowth(std::vector<std::string> paths)
    : paths_(std::move(paths)), sizes_(paths_.size(), {{0, Clock::now()}}), lastLook_(Clock::now()),
      thread_([this] { watch(); }) {}

FileGrowth::~FileGrowth() { stop(); }

void FileGrowth::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void FileGrowth::watch() {
    for (bool last = false; !last;) {
        last = stopping_;
        for (size_t file = 0; file < paths_.size(); ++file) {
            struct stat status {};
            const bool grown = stat(paths_[file].c_str(), &status) == 0 && status.st_size > sizes_[file].back().first;
            if (grown) sizes_[file].emplace_back(status.st_size, Clock::now());
        }
        lastLook_ = Clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

FileGrowth::Clock::time_point FileGrowth::first_holding(size_t file, int64_t byteOffset) const {
    for (const auto& [size, seen] : sizes_[file])
        if (size > byteOffset) return seen;
    return lastLook_;
}

FileGrowth::Clock::time_point FileGrowth::last_growth_without(size_t file, int64_t byteOffset) const {
    Clock::time_point before = sizes_[file].front().second;
    for (const auto& [size, seen] : sizes_[file])
        if (size <= byteOffset) before = seen;
    return before;
}
