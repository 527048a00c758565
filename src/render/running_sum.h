// The span walks add a step to a running value once per row (v += step): each
// addition rounds, so row k's value is not v + k * step. But while v stays in
// one binade (the doubles of one exponent and sign), every addition adds the
// same amount, step rounded to a multiple of v's ulp u: R = u * round(step /
// u). Proof: v is a multiple of u, so v + step rounds to v plus the multiple
// of u nearest to step, as long as the result lies in the same binade, away
// from its smaller end (below it the doubles are u / 2 apart), and step / u
// is not halfway between two integers (the tie goes to the even result,
// which depends on v). Inside such a stretch the values v + R, v + 2R, ... are
// exact sums, so rows can be taken four at a time and in any order.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

struct RunningSum {
    double R;          // what one addition adds while the sum stays in [low, high]
    double R2, R3, R4;  // 2R, 3R, 4R
    double low, high;  // empty (low > high) when no stretch of exact sums starts here
};

// The stretch of exact sums that starts at v for additions of step: each of
// v + R, v + 2R, ... that lies in [low, high] is what that many additions of
// step give. Zero, subnormal, infinite and NaN values, steps as large as v's
// binade and ties give an empty stretch.
inline RunningSum running_sum(double v, double step) {
    constexpr RunningSum none{0, 0, 0, 0, INFINITY, -INFINITY};
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    const int32_t exponent = int32_t((bits >> 52) & 0x7FF);
    // Biased exponents 1..52 would give a subnormal ulp; 2047 is inf and NaN.
    if (exponent < 53 || exponent == 0x7FF) return none;
    const double ulp = std::bit_cast<double>(uint64_t(exponent - 52) << 52);
    const double binade = std::bit_cast<double>(uint64_t(exponent) << 52);  // 2^e, the binade's smallest magnitude
    // step / ulp, as a product: 1 / ulp is a power of two as well, so both
    // forms round the same real number and agree bit for bit, and the product
    // does not wait on a division.
    const double inverseUlp = std::bit_cast<double>(uint64_t(2098 - exponent) << 52);
    const double t = step * inverseUlp;
    if (!(std::fabs(t) < 4503599627370496.0 / 2)) return none;  // 2^51, also NaN
    // Adding and subtracting 1.5 * 2^52 rounds |t| < 2^51 to an integer, ties to even.
    constexpr double shifter = 6755399441055744.0;
    const double n = (t + shifter) - shifter;
    if (std::fabs(t - n) == 0.5) return none;
    const double R = n * ulp;
    // Magnitudes from 2^e + u to 2^(e+1) - u: inside the binade, away from 2^e.
    const double smallest = binade + ulp, largest = 2 * binade - ulp;
    if (v > 0) return RunningSum{R, 2 * R, 3 * R, 4 * R, smallest, largest};
    return RunningSum{R, 2 * R, 3 * R, 4 * R, -largest, -smallest};
}
