#include <gtest/gtest.h>

#include "../support/files.h"
#include "../support/read_png.h"
#include "app/texture_dump.h"
#include "content/content.h"
#include "content/texture.h"

namespace fs = std::filesystem;

struct TextureDumpTest : testing::Test {
    void TearDown() override { reset_texture_table(); }
};

// The dump generates the content, prints every hash and writes every level
// that has rows. The textures were checked by eye as PNG files; the
// committed hashes of every level (chain lengths included) catch any change
// to a texel.
TEST_F(TextureDumpTest, PrintsTheCommittedHashesAndWritesEveryLevelWithRows) {
    std::vector<std::string> expected;
    for (const std::string& line : lines_of(read_text_file(QUORVALITE_SOURCE_DIR "/tests/content/texture_hashes.txt")))
        if (!line.empty() && line[0] != '#') expected.push_back(line);
    const TempDir folder;
    ::testing::internal::CaptureStdout();
    const int rc = dump_textures((folder.path / "textures").string());
    const std::string printed = ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(lines_of(printed), expected);

    const fs::path dir = folder.path / "textures";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 113);
    EXPECT_TRUE(fs::exists(dir / "tex_12_4.png"));   // 8 x 1
    EXPECT_FALSE(fs::exists(dir / "tex_12_5.png"));  // 4 x 0 has no picture

    // Read back: the page's background is transparent, its letters opaque white.
    std::vector<uint8_t> rgba;
    int32_t width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(read_png_rgba((dir / "tex_09.png").string(), &rgba, &width, &height, &error)) << error;
    ASSERT_EQ(width, 256);
    EXPECT_EQ(rgba[3], 0);               // row 0 of every glyph is empty
    EXPECT_EQ(rgba[256 * 4 + 3], 255);   // (0, 1): the left stroke of 'W'
}

TEST_F(TextureDumpTest, DumpFailuresLeaveNothingBehind) {
    const TempDir folder;
    std::ofstream(folder.path / "plain_file") << "x";
    // Fails with one line on stderr and nothing on stdout.
    auto failed_dump = [](const fs::path& dir) {
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        EXPECT_NE(dump_textures(dir.string()), 0);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        return said;
    };
    EXPECT_NE(failed_dump(folder.path / "plain_file" / "sub").find("cannot create"), std::string::npos);
    // A folder standing where one file must go: the files before it are removed again.
    const fs::path dir = folder.path / "blocked";
    fs::create_directories(dir / "tex_05.png");
    EXPECT_NE(failed_dump(dir).find("tex_05.png"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}
