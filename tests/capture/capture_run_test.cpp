#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <regex>
#include <set>
#include <thread>

#include "../support/run_program.h"
#include "platform/platform.h"
#include "platform/sound_convert.h"
#include "show/sounds.h"

namespace {

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// "key=value" fields of ffprobe's compact lines, one map per stream.
std::vector<std::map<std::string, std::string>> probe_streams(const std::string& file) {
    const ProgramResult probe =
        run_program("ffprobe", {"-v", "error", "-count_frames", "-show_entries",
                                "stream=codec_type,codec_name,width,height,pix_fmt,r_frame_rate,nb_read_frames,"
                                "sample_rate,channels,duration",
                                "-of", "compact", file});
    EXPECT_EQ(probe.exitCode, 0) << "ffprobe (Debian package ffmpeg) is needed: " << probe.err;
    std::vector<std::map<std::string, std::string>> streams;
    for (const std::string& line : lines_of(probe.out)) {
        std::map<std::string, std::string> fields;
        std::stringstream parts(line);
        for (std::string part; std::getline(parts, part, '|');)
            if (part.find('=') != std::string::npos) fields[part.substr(0, part.find('='))] = part.substr(part.find('=') + 1);
        streams.push_back(fields);
    }
    return streams;
}

std::string video_codec(const std::vector<std::map<std::string, std::string>>& streams, const std::string& type) {
    for (const auto& s : streams)
        if (s.at("codec_type") == type) return s.at("codec_name");
    return "none";
}

} // namespace

TEST(Capture, VideoHasTheFramesAndAMatchingSoundTrack) {
    TempDir dir;
    const ProgramResult result =
        run_program(QUORVALITE_BINARY, {"--capture", dir / "show.mp4", "--frames", "36", "--fps", "24"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(names_in(dir.path.string()), std::set<std::string>{"show.mp4"});
    const auto streams = probe_streams(dir / "show.mp4");
    ASSERT_EQ(streams.size(), 2u);
    for (const auto& s : streams) {
        if (s.at("codec_type") == "video") {
            EXPECT_EQ(s.at("codec_name"), "h264");
            EXPECT_EQ(s.at("width"), "1920");
            EXPECT_EQ(s.at("height"), "1080");
            EXPECT_EQ(s.at("pix_fmt"), "yuv420p");
            EXPECT_EQ(s.at("r_frame_rate"), "24/1");
            EXPECT_EQ(s.at("nb_read_frames"), "36");
        } else {
            EXPECT_EQ(s.at("codec_name"), "aac");
            EXPECT_EQ(s.at("sample_rate"), "48000");
            EXPECT_NEAR(std::stod(s.at("duration")), 1.5, 0.03);
        }
    }
}

TEST(Capture, MkvAndWebmHaveTheirCodecs) {
    TempDir dir;
    for (const char* name : {"show.mkv", "show.webm"}) {
        const ProgramResult result =
            run_program(QUORVALITE_BINARY, {"--capture", dir / name, "--frames", "6", "--fps", "12"});
        ASSERT_EQ(result.exitCode, 0) << name << ": " << result.err;
    }
    EXPECT_EQ(names_in(dir.path.string()), (std::set<std::string>{"show.mkv", "show.webm"}));
    const auto mkv = probe_streams(dir / "show.mkv");
    EXPECT_EQ(video_codec(mkv, "video"), "h264");
    EXPECT_EQ(video_codec(mkv, "audio"), "flac");
    const auto webm = probe_streams(dir / "show.webm");
    EXPECT_EQ(video_codec(webm, "video"), "vp9");
    EXPECT_EQ(video_codec(webm, "audio"), "opus");
}

// The folder form, read back by a standard WAV reader and checked against the
// trace: each cue's sound starts at the first sample of its frame. The
// capture's frames are those of a plain headless run, although the capture
// plays the show twice.
TEST(Capture, FolderHoldsTheFramesAndTheCuesInStep) {
    TempDir dir;
    const int frames = 20;
    const int fps = 10;
    const ProgramResult result = run_program(
        QUORVALITE_BINARY, {"--capture", dir / "frames", "--frames", std::to_string(frames), "--fps",
                            std::to_string(fps), "--trace", dir / "trace.txt"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(names_in(dir.path.string()), (std::set<std::string>{"frames", "trace.txt"}));
    std::set<std::string> expected{"audio.wav"};
    for (int j = 1; j <= frames; ++j) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06d.png", j);
        expected.insert(name);
    }
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

    const std::map<std::string, const SoundImage*> sounds = {
        {"KeyClick", &KeyClick}, {"FootstepA", &FootstepA}, {"FootstepB", &FootstepB}};
    const std::regex soundLine("sound (\\d+) (\\w+)");
    int cues = 0;
    size_t firstCue = raw.size() / 2;
    for (const std::string& line : lines_of(read_text_file(dir / "trace.txt"))) {
        std::smatch match;
        if (!std::regex_match(line, match, soundLine)) continue;
        const size_t offset = size_t(std::stoll(match[1]) - 1) * perFrame;
        firstCue = std::min(firstCue, offset);
        std::vector<int16_t> converted;
        std::string error;
        ASSERT_TRUE(convert_sound(*sounds.at(match[2]), 48000, 1, &converted, &error)) << error;
        for (size_t i = 0; i < 200; ++i) ASSERT_EQ(sample(offset + i), converted[i]) << line << ", sample " << i;
        ++cues;
    }
    ASSERT_GE(cues, 1) << "the first frames should hold a footstep";
    for (size_t i = 0; i < firstCue; ++i) ASSERT_EQ(sample(i), 0) << "silence before the first cue, sample " << i;

    const ProgramResult plain = run_program(
        QUORVALITE_BINARY, {"--headless", "--frames", std::to_string(frames), "--fps", std::to_string(fps), "--dump",
                            std::to_string(frames), "--out", dir / "plain"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    std::vector<uint32_t> captured, shown;
    int32_t width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(read_png(dir / "frames/frame_000020.png", &captured, &width, &height, &error)) << error;
    ASSERT_TRUE(read_png(dir / "plain/frame_000020.png", &shown, &width, &height, &error)) << error;
    EXPECT_TRUE(captured == shown) << "the captured frame differs from the headless run's";
}

// Failures say what failed, exit non-zero and leave nothing behind.
TEST(Capture, FailuresLeaveNothingBehind) {
    TempDir dir;
    TempDir emptyPath;
    std::ofstream(dir / "file.txt") << "a file, not a folder";
    std::filesystem::create_directory(dir / "full");
    std::ofstream(dir / "full/keep.txt") << "kept";

    ProgramResult r = run_program(QUORVALITE_BINARY, {"--capture", dir / "show.mp4", "--frames", "2"},
                                  {"PATH=" + emptyPath.path.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ffmpeg is not installed"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Debian package ffmpeg"), std::string::npos) << r.err;

    for (const char* out : {"file.txt/show.mp4", "file.txt/frames", "missing/frames", "full"}) {
        r = run_program(QUORVALITE_BINARY, {"--capture", dir / out, "--frames", "2"});
        EXPECT_EQ(r.exitCode, 2) << out;
        EXPECT_NE(r.err.find("cannot write"), std::string::npos) << out << ": " << r.err;
    }

    // An encoder that takes a few frames, starts its file and gives up, as
    // ffmpeg does on a full disk.
    TempDir fakePath;
    const std::string fake = fakePath / "ffmpeg";
    std::ofstream(fake) << "#!/bin/sh\n"
                           "for last; do :; done\n"
                           "echo partial > \"$last\"\n"
                           "head -c 20000000 > /dev/null\n"
                           "echo 'No space left on device' >&2\n"
                           "exit 1\n";
    chmod(fake.c_str(), 0755);
    r = run_program(QUORVALITE_BINARY, {"--capture", dir / "show.mp4", "--frames", "30"},
                    {"PATH=" + fakePath.path.string() + ":/usr/bin:/bin"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << "ffmpeg's own message: " << r.err;
    EXPECT_NE(r.err.find("ffmpeg failed (exit code 1)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;

    EXPECT_EQ(names_in(dir.path.string()), (std::set<std::string>{"file.txt", "full"}));
    EXPECT_EQ(names_in(dir / "full"), std::set<std::string>{"keep.txt"});
}

TEST(Capture, InterruptLeavesNothingBehind) {
    for (const char* out : {"frames", "show.mp4"}) {
        TempDir dir;
        TempDir logs;
        const Spawned run = spawn_program(QUORVALITE_BINARY, {"--capture", dir / out, "--frames", "100000"}, logs);
        // Interrupt once frames are being written.
        const std::string sign = std::string(out) == "frames" ? dir / "frames.part/frame_000002.png" : dir / "show.mp4.audio.wav";
        for (int waited = 0; waited < 60000 && !std::filesystem::exists(sign); waited += 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(std::filesystem::exists(sign)) << out;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(run.pid, SIGINT);
        const ProgramResult r = wait_program(run, 60000);
        EXPECT_EQ(r.exitCode, 1) << out;
        EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
        EXPECT_TRUE(names_in(dir.path.string()).empty()) << out;
    }
}

TEST(Bench, JsonHasEveryFieldAndAgreesWithTheTrace) {
    TempDir dir;
    const ProgramResult r = run_program(
        QUORVALITE_BINARY, {"--bench", "--frames", "30", "--workers", "2", "--json", "--trace", dir / "trace.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string number = "(-?[0-9.]+)";
    for (const char* key : {"cores", "workers", "frames", "wall_seconds", "frames_per_second", "median_ms", "p95_ms",
                            "p99_ms", "render", "overlays", "show", "present"})
        EXPECT_TRUE(std::regex_search(r.out, std::regex(std::string("\"") + key + "\": " + number))) << key << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("^\\{\"cpu\": \"[^\"]+\", .*\\}\n$"))) << r.out;
    EXPECT_NE(r.out.find("\"workers\": 2,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"frames\": 30,"), std::string::npos) << r.out;
    int traced = 0;
    for (const std::string& line : lines_of(read_text_file(dir / "trace.txt"))) traced += line.rfind("frame ", 0) == 0;
    EXPECT_EQ(traced, 30);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--bench", "--workers", "9"}, {"--json"}, {"--bench", "--fps", "30"}, {"--seconds", "3"},
             {"--capture", "x.mp4", "--fps", "1000"}, {"--capture", "x.mp4", "--frames", "3", "--seconds", "3"},
             {"--bench", "--capture", "x.mp4"}})
        EXPECT_EQ(run_program(QUORVALITE_BINARY, bad).exitCode, 2) << bad[0] << " " << bad.back();
}
