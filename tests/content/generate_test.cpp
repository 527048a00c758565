#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../support/texture_hashes.h"
#include "content/content.h"
#include "content/texture.h"

namespace {

class GenerateTest : public ::testing::Test {
protected:
    void TearDown() override { reset_texture_table(); }
};

} // namespace

// The textures were checked by eye as PNG files; the committed hashes of every
// level (chain lengths included) catch any change to a texel.
TEST_F(GenerateTest, MatchesTheCommittedHashes) {
    const std::vector<std::string> expected = committed_texture_hashes();
    ASSERT_EQ(expected.size(), size_t(116));
    generate_content();
    EXPECT_EQ(texture_count, BaseTextureCount);
    EXPECT_EQ(texture_hash_lines(), expected);
}
