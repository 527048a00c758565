#include <gtest/gtest.h>

#include <signal.h>

#include <regex>

#include "capture/sound_upsample.h"
#include "capture_support.h"
#include "show/sounds.h"

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

// Interrupted once frames are being written, a capture ends with 1 and
// leaves nothing behind.
TEST(Capture, InterruptLeavesNothingBehind) {
    TempDir dir;
    TempDir logs;
    const Spawned run = spawn_program(QUORVALITE_BINARY, {"--capture", dir / "show.mp4", "--frames", "100000"}, logs);
    ASSERT_TRUE(wait_until([&] { return sound_track_written(dir.path.string()); }, 60000));
    usleep(300000);
    kill(run.pid, SIGINT);
    const ProgramResult r = wait_program(run, 60000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
    EXPECT_TRUE(names_in(dir.path.string()).empty());
}
