// The tunnel's per-frame rewrite of the 256 x 256 screen against a plain fill
// of the same image (the floor any rewrite pays), and against computing the
// angle and depth per texel instead of looking them up.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "show/tunnel.h"

namespace {

std::vector<uint32_t> Image(TunnelSize * TunnelSize);

void BM_FillBaseline(benchmark::State& state) {
    uint32_t value = 0;
    for (auto _ : state) {
        for (uint32_t& texel : Image) texel = value;
        ++value;
        benchmark::DoNotOptimize(Image.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillBaseline);

void BM_TunnelFromTables(benchmark::State& state) {
    fill_tunnel_tables();
    double elapsed = 0;
    for (auto _ : state) {
        draw_tunnel(Image.data(), elapsed);
        elapsed += 1 / 60.0;
        benchmark::DoNotOptimize(Image.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TunnelFromTables);

void BM_TunnelComputedPerTexel(benchmark::State& state) {
    double elapsed = 0;
    for (auto _ : state) {
        const int32_t a = low_byte_of_trunc(256 * elapsed);
        const int32_t b = low_byte_of_trunc(64 * elapsed);
        for (int32_t j = 0; j < TunnelSize; ++j)
            for (int32_t i = 0; i < TunnelSize; ++i) {
                const double dx = i - 128, dy = j - 128;
                const double distance = std::sqrt(dx * dx + dy * dy);
                const int32_t depth = distance == 0 ? 0 : int32_t(8192 / distance) % 256;
                const int32_t angle = int32_t(std::atan2(dy, dx) * 128 / PiRoundedUp);
                Image[j * TunnelSize + i] = uint32_t(((depth + a) & 255) ^ ((angle + b) & 255)) << 8;
            }
        elapsed += 1 / 60.0;
        benchmark::DoNotOptimize(Image.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TunnelComputedPerTexel);

}  // namespace
