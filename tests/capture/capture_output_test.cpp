// What a capture writes: a folder of frames with its sound track in step, a
// video that takes its name only when complete, captures to one name that
// never spoil each other, and a name given to ffmpeg as a plain file.
#include <gtest/gtest.h>

#include <signal.h>

#include <regex>

#include "capture/sound_upsample.h"
#include "capture_support.h"
#include "show/sounds.h"

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

// Two captures to one name at once: each that says it wrote the video left
// one that plays all its frames at the asked rate with the whole sound
// track, and neither leaves a file of its own behind.
TEST(CaptureOutput, CapturesToOneNameAtOnceBothMakeAWholeVideo) {
    TempDir dir;
    TempDir logs;
    const std::vector<std::string> args = {"--capture", dir / "same.mp4", "--frames", "36", "--fps", "24"};
    const Spawned first = spawn_program(QUORVALITE_BINARY, args, logs);
    const Spawned second = spawn_program(QUORVALITE_BINARY, args, logs);
    for (const ProgramResult& r : {wait_program(first, 60000), wait_program(second, 60000)}) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("wrote"), std::string::npos) << r.out;
    }
    EXPECT_EQ(names_in(dir.path.string()), std::set<std::string>{"same.mp4"});
    ProbedVideo video = probe_video(dir / "same.mp4");
    EXPECT_EQ(video.codecs, (std::set<std::string>{"video h264", "audio aac"}));
    EXPECT_EQ(video.frames, "36");
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

// ffmpeg would take "a:b.mkv" for a protocol and "-x.webm" for an option.
// Each is a whole video of its format's codecs.
TEST(CaptureOutput, NamesWithAColonOrALeadingDashAreFiles) {
    TempDir dir;
    const std::pair<std::string, std::set<std::string>> videos[] = {
        {"take-12:30.mkv", {"video h264", "audio flac"}}, {"-x.webm", {"video vp9", "audio opus"}}};
    for (const auto& [name, codecs] : videos) {
        const ProgramResult r = run_program_in(dir.path.string(), {"--capture", name, "--frames", "2"});
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
        const ProbedVideo video = probe_video(dir / name);
        EXPECT_EQ(video.codecs, codecs) << name;
        EXPECT_EQ(video.frames, "2") << name;
    }
    EXPECT_EQ(names_in(dir.path.string()), (std::set<std::string>{"take-12:30.mkv", "-x.webm"}));
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
        {"x.GIF", "1", {}, 2, {".mp4, .mkv or .webm"}},
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
