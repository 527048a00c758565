// What the capture tests share: the names in a folder, ffprobe's view of a
// video, running the program from inside a folder, a small tmpfs.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "../support/run_program.h"

inline std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// ffprobe's view of a video, every frame decoded: its streams' codecs
// ("video h264", "audio aac"), how many frames the video decodes to, and the
// "key=value" fields of each stream by its type.
struct ProbedVideo {
    std::set<std::string> codecs;
    std::string frames;
    std::map<std::string, std::map<std::string, std::string>> streams;
};

inline ProbedVideo probe_video(const std::string& file) {
    const ProgramResult probe =
        run_program("ffprobe", {"-v", "error", "-count_frames", "-show_entries",
                                "stream=codec_type,codec_name,width,height,r_frame_rate,nb_read_frames,duration",
                                "-of", "compact", "file:" + file});
    EXPECT_EQ(probe.exitCode, 0) << "ffprobe (Debian package ffmpeg) is needed: " << probe.err;
    ProbedVideo video;
    for (const std::string& line : lines_of(probe.out)) {
        std::map<std::string, std::string> fields;
        std::stringstream parts(line);
        for (std::string part; std::getline(parts, part, '|');)
            if (part.find('=') != std::string::npos) fields[part.substr(0, part.find('='))] = part.substr(part.find('=') + 1);
        video.codecs.insert(fields["codec_type"] + " " + fields["codec_name"]);
        if (fields["codec_type"] == "video") video.frames = fields["nb_read_frames"];
        video.streams[fields["codec_type"]] = fields;
    }
    return video;
}

// Runs the program with `folder` as its current folder, so that relative
// names reach it as they stand.
inline ProgramResult run_program_in(const std::string& folder, const std::vector<std::string>& args) {
    std::vector<std::string> shell = {"-c", "cd \"$0\" && exec \"$@\"", folder, QUORVALITE_BINARY};
    shell.insert(shell.end(), args.begin(), args.end());
    return run_program("sh", shell);
}

// True once a file of the capture's sound track exists somewhere under folder:
// the frames are about to be rendered.
inline bool sound_track_written(const std::string& folder) {
    std::error_code code;
    for (std::filesystem::recursive_directory_iterator entry(folder, code), end; !code && entry != end;
         entry.increment(code)) {
        const std::string name = entry->path().filename().string();
        if (name.size() >= 9 && name.compare(name.size() - 9, 9, "audio.wav") == 0) return true;
    }
    return false;
}

// A tmpfs with the options, on a new folder under $TMPDIR (or /tmp), gone
// with the object. Mounting needs root: where it is refused the test is
// skipped, or fails where QUORVALITE_REQUIRE_TMPFS_TEST is set.
struct SmallDisk {
    std::string path;
    std::string refused; // why no tmpfs could be mounted; empty when mounted

    SmallDisk(const std::string& options) {
        const char* const base = std::getenv("TMPDIR");
        std::string name = std::string(base && *base ? base : "/tmp") + "/quorvalite_tmpfs_XXXXXX";
        if (!mkdtemp(name.data())) {
            refused = std::string("cannot make a mount point: ") + std::strerror(errno);
            return;
        }
        path = name;
        if (mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) != 0)
            refused = "cannot mount a tmpfs (" + options + ") on " + path + ": " + std::strerror(errno);
    }
    ~SmallDisk() {
        if (path.empty()) return;
        if (refused.empty()) umount2(path.c_str(), MNT_DETACH);
        rmdir(path.c_str());
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

#define REQUIRE_SMALL_DISK(disk)                                                                                       \
    if (!(disk).refused.empty()) {                                                                                     \
        if (std::getenv("QUORVALITE_REQUIRE_TMPFS_TEST")) FAIL() << (disk).refused;                                   \
        GTEST_SKIP() << (disk).refused << " (needs root)";                                                             \
    }
