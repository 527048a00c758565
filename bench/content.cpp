// Start-up content generation and the making of one shaded variant, each with
// a plain baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "content/content.h"
#include "content/texture.h"

namespace {

// Baseline for generation: as many draws of the random source as generation
// takes bilinear samples, turned into noise values.
void BM_RandomDraws2M(benchmark::State& state) {
    for (auto _ : state) {
        RandomSource random;
        double sum = 0;
        for (int32_t i = 0; i < 2'200'000; ++i) sum += double(next_random(random) % 65536) / 65536.0;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_RandomDraws2M)->Unit(benchmark::kMillisecond);

void BM_GenerateContent(benchmark::State& state) {
    for (auto _ : state) generate_content();
    reset_texture_table();
}
BENCHMARK(BM_GenerateContent)->Unit(benchmark::kMillisecond);

// Baseline for a variant: copying its 256 x 256 texels.
void BM_Copy256Texels(benchmark::State& state) {
    std::vector<uint32_t> from(256 * 256, 0x00808080), to(256 * 256);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Copy256Texels)->Unit(benchmark::kMicrosecond);

// One 256 x 256 variant with its chain, taken out of the table again after
// each iteration so every request makes it anew.
void BM_Variant256WithChain(benchmark::State& state) {
    generate_content();
    Texture& base = TextureTable[FarewellPage];
    for (auto _ : state) {
        Texture* const variant = get_shaded_texture(&base, 7);
        benchmark::DoNotOptimize(variant->mips[7]);
        state.PauseTiming();
        std::free(variant->pixels);
        for (uint32_t* m : variant->mips) std::free(m);
        *variant = Texture{};
        base.shades[7] = 0;
        --texture_count;
        state.ResumeTiming();
    }
    reset_texture_table();
}
BENCHMARK(BM_Variant256WithChain)->Unit(benchmark::kMicrosecond);

// The steady state: a variant that exists already.
void BM_CachedVariantLookup(benchmark::State& state) {
    generate_content();
    Texture* const base = &TextureTable[RedBricks];
    get_shaded_texture(base, 7);
    for (auto _ : state) benchmark::DoNotOptimize(get_shaded_texture(base, 7));
    reset_texture_table();
}
BENCHMARK(BM_CachedVariantLookup);

} // namespace
