#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../support/run_program.h"
#include "content/content.h"
#include "content/texture.h"

namespace {

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}

std::vector<std::string> committed_hashes() {
    return split_lines(read_text_file(QUORVALITE_SOURCE_DIR "/tests/content/texture_hashes.txt"));
}

class GenerateTest : public ::testing::Test {
protected:
    void TearDown() override { reset_texture_table(); }
};

} // namespace

// The textures were checked by eye as PNG files; the committed hashes of every
// level (chain lengths included) catch any change to a texel.
TEST_F(GenerateTest, MatchesTheCommittedHashes) {
    const std::vector<std::string> expected = committed_hashes();
    ASSERT_EQ(expected.size(), size_t(116));
    generate_content();
    EXPECT_EQ(texture_count, BaseTextureCount);
    EXPECT_EQ(texture_hash_lines(), expected);
}
