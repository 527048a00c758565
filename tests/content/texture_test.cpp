#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "content/texture.h"

namespace {

// Puts a w x h texture of one colour in table entry index.
Texture& make_base(int32_t index, int32_t w, int32_t h, uint32_t color) {
    Texture& t = TextureTable[index];
    t.width = w;
    t.height = h;
    t.pixels = static_cast<uint32_t*>(std::malloc(size_t(w) * size_t(h) * sizeof(uint32_t)));
    std::fill(t.pixels, t.pixels + size_t(w) * size_t(h), color);
    return t;
}

int32_t chain_length(const Texture& t) {
    int32_t n = 0;
    while (n < MaxMipLevels && t.mips[n]) ++n;
    for (int32_t k = n; k < MaxMipLevels; ++k) EXPECT_EQ(t.mips[k], nullptr);
    return n;
}

class TextureTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_texture_table();
        texture_count = BaseTextureCount;
    }
    void TearDown() override { reset_texture_table(); }
};

}  // namespace

// Chain lengths and texels of every base texture are in the committed hashes;
// these are the cases the base textures do not have.
TEST_F(TextureTableTest, ChainsOfWideTexturesAndRebuilds) {
    build_mips(make_base(2, 1024, 128, 7));
    EXPECT_EQ(chain_length(TextureTable[2]), 0);
    Texture& label = make_base(3, 128, 16, 0x00405060);
    build_mips(label);
    build_mips(label);  // building again replaces the chain instead of leaking it
    EXPECT_EQ(chain_length(label), 7);  // 64 x 8 down to 1 x 0
    EXPECT_EQ(label.mips[3][7], 0x00405060u);  // level 4 is 8 x 1
}

TEST_F(TextureTableTest, VariantsAreMadeOnceAndKept) {
    Texture& base = make_base(3, 8, 8, 0x00FFFFFF);
    Texture& other = make_base(4, 8, 8, 0x00FFFFFF);
    base.pixels[5] = 0;

    EXPECT_EQ(get_shaded_texture(&base, 0), &base);
    Texture* const variant = get_shaded_texture(&base, 31);
    EXPECT_EQ(variant, &TextureTable[BaseTextureCount]);
    EXPECT_EQ(get_shaded_texture(&base, 40), variant);  // beyond the darkest level
    EXPECT_EQ(get_shaded_texture(&other, 31), &TextureTable[BaseTextureCount + 1]);
    EXPECT_EQ(texture_count, BaseTextureCount + 2);

    EXPECT_EQ(variant->pixels[0], 0x009C9C9Cu);
    EXPECT_EQ(variant->pixels[5], 0u);  // transparent stays transparent
    EXPECT_EQ(shade_color(0x00000100, 31), 0x00010101u);  // dark texels never turn transparent
    EXPECT_EQ(chain_length(*variant), 3);
    EXPECT_EQ(TextureTable[BaseTextureCount + 1].mips[2][0], 0x009C9C9Cu);  // chains come from shaded texels
}

TEST_F(TextureTableTest, FullTableGivesTheUnshadedTexture) {
    Texture& base = make_base(0, 4, 4, 0x00808080);
    texture_count = TextureRecords - 1;
    EXPECT_EQ(get_shaded_texture(&base, 1), &TextureTable[TextureRecords - 1]);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(get_shaded_texture(&base, 2), &base);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture_count, TextureRecords);
    EXPECT_EQ(base.shades[2], 0u);
    EXPECT_EQ(get_shaded_texture(&base, 1), &TextureTable[TextureRecords - 1]);  // made ones still serve
    EXPECT_NE(said.find("texture records"), std::string::npos);
    EXPECT_EQ(said.find('\n'), said.size() - 1);  // said once
}

// Workers asking for the same variants at the same moment share one record each.
TEST_F(TextureTableTest, ConcurrentRequestsShareOneRecord) {
    Texture& base = make_base(11, 256, 256, 0x00010101);
    constexpr int32_t Threads = 8, Levels = 3;
    std::atomic<int32_t> ready{0};
    std::vector<Texture*> got(Threads * Levels, nullptr);
    std::vector<std::thread> threads;
    for (int32_t i = 0; i < Threads; ++i)
        threads.emplace_back([&, i] {
            for (ready.fetch_add(1); ready.load() < Threads;) {
            }
            for (int32_t r = 0; r < Levels; ++r) got[size_t(i * Levels + r)] = get_shaded_texture(&base, 2 + r);
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(texture_count, BaseTextureCount + Levels);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], &TextureTable[base.shades[2 + i % Levels]]);
}
