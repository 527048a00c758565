// What a capture writes: a folder of frames with its sound track in step, a
// video that takes its name only when complete, captures to one name that
// never spoil each other, and a name given to ffmpeg as a plain file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <set>

#include "../support/run_program.h"
#include "capture/sound_upsample.h"
#include "show/sounds.h"

namespace {

std::set<std::string> names_in(const std::string& folder) {
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

ProbedVideo probe_video(const std::string& file) {
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

// True once a file of the capture's sound track exists somewhere under folder:
// the frames are about to be rendered.
bool sound_track_written(const std::string& folder) {
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

} // namespace

// A disk that fills while ffmpeg writes: ffmpeg still exits 0, so only
// reading the file back shows it broken. The good video of that name stays.
TEST(CaptureOutput, AFullDiskFailsAndKeepsTheVideoOfThatName) {
    SmallDisk disk("size=128k");
    REQUIRE_SMALL_DISK(disk);
    ProgramResult r = run_program(QUORVALITE_BINARY, {"--capture", disk / "show.mp4", "--frames", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string good = read_text_file(disk / "show.mp4");
    for (const std::string name : {"show.mp4", "show.mkv", "show.webm"}) {
        r = run_program(QUORVALITE_BINARY, {"--capture", disk / name, "--frames", "12"});
        EXPECT_EQ(r.exitCode, 1) << name << ": " << r.out;
        EXPECT_EQ(r.out.find("wrote"), std::string::npos) << r.out;
        EXPECT_NE(r.err.find("incomplete"), std::string::npos) << r.err;
        EXPECT_EQ(names_in(disk.path), std::set<std::string>{"show.mp4"});
    }
    EXPECT_TRUE(read_text_file(disk / "show.mp4") == good) << "the good video was changed";
    EXPECT_EQ(probe_video(disk / "show.mp4").frames, "1");
}

// Captures at once into one folder, each given its name as it stands: two
// to one name, and names ffmpeg would take for a protocol ("a:b.mkv") or an
// option ("-x.webm"). Each that says it wrote its video left a whole one of
// its format's codecs, the mp4 playing all its frames at the asked rate with
// the whole sound track, and none leaves a file of its own behind.
TEST(CaptureOutput, CapturesAtOnceEachLeaveAWholeVideoOfTheirName) {
    TempDir dir;
    TempDir logs;
    const struct {
        std::string name, frames;
        std::set<std::string> codecs;
    } videos[] = {{"same.mp4", "36", {"video h264", "audio aac"}},
                  {"same.mp4", "36", {"video h264", "audio aac"}},
                  {"take-12:30.mkv", "2", {"video h264", "audio flac"}},
                  {"-x.webm", "2", {"video vp9", "audio opus"}}};
    std::vector<Spawned> runs;
    for (const auto& v : videos)
        runs.push_back(spawn_program("sh",
                                     {"-c", "cd \"$0\" && exec \"$@\"", dir.path.string(), QUORVALITE_BINARY,
                                      "--capture", v.name, "--frames", v.frames, "--fps", "24"},
                                     logs));
    for (const Spawned& run : runs) {
        const ProgramResult r = wait_program(run, 60000);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("wrote"), std::string::npos) << r.out;
    }
    EXPECT_EQ(names_in(dir.path.string()), (std::set<std::string>{"same.mp4", "take-12:30.mkv", "-x.webm"}));
    for (const auto& v : videos) {
        const ProbedVideo video = probe_video(dir / v.name);
        EXPECT_EQ(video.codecs, v.codecs) << v.name;
        EXPECT_EQ(video.frames, v.frames) << v.name;
    }
    ProbedVideo video = probe_video(dir / "same.mp4");
    EXPECT_EQ(video.streams["video"]["width"] + "x" + video.streams["video"]["height"], "1920x1080");
    EXPECT_EQ(video.streams["video"]["r_frame_rate"], "24/1");
    EXPECT_NEAR(std::stod(video.streams["audio"]["duration"]), 1.5, 0.03);
}

// Stopped once frames are being written: an interrupted capture ends with 1
// and leaves nothing behind; what a killed one leaves does not stop the next
// capture of that name, which mentions it and leaves it alone.
TEST(CaptureOutput, AnInterruptedCaptureLeavesNothingAndAKilledOneDoesNotBlockTheNext) {
    for (const int signal : {SIGINT, SIGKILL}) {
        TempDir dir;
        TempDir logs;
        const Spawned run =
            spawn_program(QUORVALITE_BINARY, {"--capture", dir / "show.mp4", "--frames", "100000"}, logs);
        ASSERT_TRUE(wait_until([&] { return sound_track_written(dir.path.string()); }, 60000));
        usleep(300000);
        kill(run.pid, signal);
        const ProgramResult stopped = wait_program(run, 60000);
        const std::set<std::string> leftovers = names_in(dir.path.string());
        if (signal == SIGINT) {
            EXPECT_EQ(stopped.exitCode, 1);
            EXPECT_NE(stopped.err.find("interrupted"), std::string::npos) << stopped.err;
            EXPECT_TRUE(leftovers.empty());
            continue;
        }
        ASSERT_FALSE(leftovers.empty());
        const ProgramResult r = run_program(QUORVALITE_BINARY, {"--capture", dir / "show.mp4", "--frames", "2"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(probe_video(dir / "show.mp4").frames, "2");
        for (const std::string& name : leftovers) {
            EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
            EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
        }
    }
}

// Requests a capture cannot carry out are refused before anything is made,
// with a line saying why: an unknown format, a sound track longer than a WAV
// file holds, a missing folder (exit 2), no ffmpeg (exit 1).
TEST(CaptureOutput, RefusalsComeFirstAndWriteNothing) {
    TempDir dir;
    TempDir emptyPath;
    const struct {
        std::string name, frames;
        std::vector<std::string> environment;
        int exitCode;
        std::vector<std::string> said;
    } cases[] = {
        {"x.avi", "1", {}, 2, {".mp4, .mkv or .webm"}},
        {"x.mp4", "20000000", {}, 2, {"at most 2684354 frames", "4 GiB"}},
        {"missing/frames", "2", {}, 2, {"cannot write"}},
        {"show.mp4", "2", {"PATH=" + emptyPath.path.string()}, 1, {"ffmpeg is not installed", "Debian package ffmpeg"}},
    };
    for (const auto& c : cases) {
        const ProgramResult r =
            run_program(QUORVALITE_BINARY, {"--capture", dir / c.name, "--frames", c.frames}, c.environment);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
        for (const std::string& words : c.said) EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
        EXPECT_TRUE(names_in(dir.path.string()).empty()) << c.name;
    }

    SmallDisk readOnly("size=64k");
    REQUIRE_SMALL_DISK(readOnly);
    ASSERT_EQ(mount(nullptr, readOnly.path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k"), 0)
        << std::strerror(errno);
    for (const std::string name : {"x.mp4", "frames"}) {
        const ProgramResult ro = run_program(QUORVALITE_BINARY, {"--capture", readOnly / name, "--frames", "1"});
        EXPECT_EQ(ro.exitCode, 2) << name << ": " << ro.err;
        EXPECT_NE(ro.err.find("not writable"), std::string::npos) << ro.err;
    }
}

// The folder form, read back by a standard WAV reader and checked against the
// trace: the first cue's sound starts at the first sample of its frame, after
// silence.
TEST(Capture, FolderHoldsTheFramesAndTheCuesInStep) {
    TempDir dir;
    const int frames = 20, fps = 10;
    const ProgramResult result = run_program(QUORVALITE_BINARY, {"--capture", dir / "frames", "--frames", "20",
                                                                 "--fps", "10", "--trace", dir / "trace.txt"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::set<std::string> expected{"audio.wav"};
    for (int j = 1; j <= frames; ++j) expected.insert("frame_0000" + std::string(j < 10 ? "0" : "") + std::to_string(j) + ".png");
    EXPECT_EQ(names_in(dir / "frames"), expected);

    const ProgramResult wave = run_program(
        "python3", {"-c",
                    "import sys, wave\n"
                    "w = wave.open(sys.argv[1])\n"
                    "print(w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes())\n"
                    "open(sys.argv[2], 'wb').write(w.readframes(w.getnframes()))\n",
                    dir / "frames/audio.wav", dir / "samples.raw"});
    ASSERT_EQ(wave.exitCode, 0) << wave.err;
    const int perFrame = 48000 / fps;
    EXPECT_EQ(wave.out, "1 2 48000 " + std::to_string(frames * perFrame) + "\n");
    const std::string raw = read_text_file(dir / "samples.raw");
    ASSERT_EQ(raw.size(), size_t(frames * perFrame * 2));
    const auto sample = [&](size_t i) { return int16_t(uint8_t(raw[2 * i]) | uint8_t(raw[2 * i + 1]) << 8); };

    std::smatch cue;
    const std::string trace = read_text_file(dir / "trace.txt");
    ASSERT_TRUE(std::regex_search(trace, cue, std::regex("\nsound (\\d+) (FootstepA|FootstepB)\n")))
        << "the first frames should hold a footstep";
    const size_t offset = size_t(std::stoll(cue[1]) - 1) * perFrame;
    std::vector<int16_t> converted;
    std::string error;
    ASSERT_TRUE(upsample_sound(cue[2] == "FootstepA" ? FootstepA : FootstepB, 48000, &converted, &error)) << error;
    for (size_t i = 0; i < offset; ++i) ASSERT_EQ(sample(i), 0) << "silence before the first cue, sample " << i;
    for (size_t i = 0; i < 200; ++i) ASSERT_EQ(sample(offset + i), converted[i]) << cue[0] << ", sample " << i;
}
