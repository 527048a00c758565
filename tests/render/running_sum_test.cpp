// The closed form of a running sum must give, bit for bit, what adding the
// step row by row gives, wherever it claims to hold: across binade edges,
// for both signs, with steps that round to nothing and steps that tie.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "render/running_sum.h"

namespace {

// Checks every claimed value v + jR (and the 2R, 3R, 4R multiples) against j
// plain additions; returns how many values the stretch held.
int64_t check_stretch(double v, double step) {
    const RunningSum sum = running_sum(v, step);
    double plain = v;
    int64_t held = 0;
    for (int64_t j = 1; j <= 4096; ++j) {
        plain += step;
        const double closed = v + double(j) * sum.R;
        if (!(closed >= sum.low && closed <= sum.high)) break;
        EXPECT_EQ(closed, plain) << "v " << v << " step " << step << " after " << j << " additions";
        if (closed != plain) return held;
        ++held;
    }
    EXPECT_EQ(sum.R2, 2 * sum.R);
    EXPECT_EQ(sum.R3, 3 * sum.R);
    EXPECT_EQ(sum.R4, 4 * sum.R);
    return held;
}

TEST(RunningSum, ClosedFormEqualsRowByRowAdditions) {
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-30, 40);
    int64_t held = 0;
    for (int i = 0; i < 20000; ++i) {
        const double v = std::ldexp(unit(random), exponent(random));
        const double step = std::ldexp(unit(random), exponent(random) / 2 - 4);
        held += check_stretch(v, step);
    }
    EXPECT_GT(held, 1000000);  // the stretches are long: most values come in closed form
}

TEST(RunningSum, BinadeEdgesTiesAndSpecialValues) {
    // Starting on and next to powers of two, in both directions, with steps
    // of a few ulps that land just below the power, where doubles lie closer.
    for (const double edge : {1.0, 2.0, 1024.0, 0.5}) {
        const double u = std::ldexp(edge, -52);
        for (const double v : {edge, std::nextafter(edge, 0.0), std::nextafter(edge, 4096.0), edge + 2 * u, -edge,
                               -edge - u}) {
            for (const double step : {0.1, -0.1, 1e-17, -1e-17, 0.25, -0.3, -1.4 * u, 1.4 * u, -2.6 * u, 0.6 * u})
                check_stretch(v, step);
        }
    }
    // A step of exactly half an ulp ties, and a tie rounds to even: no stretch.
    const double ulp = std::ldexp(1.0, -52);
    for (const double step : {0.5 * ulp, 2.5 * ulp, -1.5 * ulp}) {
        const RunningSum sum = running_sum(1.0, step);
        EXPECT_GT(sum.low, sum.high) << step;
        check_stretch(1.0 + ulp, step);
    }
    // A step far below half an ulp adds nothing, for as long as one likes.
    EXPECT_EQ(check_stretch(1000.0, 1e-20), 4096);
    for (const double v : {0.0, -0.0, 1e-310, double(INFINITY), double(NAN)}) {
        const RunningSum sum = running_sum(v, 0.5);
        EXPECT_FALSE(sum.low <= sum.high) << v;
    }
    EXPECT_FALSE(running_sum(3.0, NAN).low <= running_sum(3.0, NAN).high);
    EXPECT_FALSE(running_sum(3.0, 1e300).low <= running_sum(3.0, 1e300).high);
}

}  // namespace
