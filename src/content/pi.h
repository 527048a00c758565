// The one spelling of pi in the program. Headings, turns and angles elsewhere
// are written as its multiples (3 * Pi / 2, 0.65 * Pi), each the same double
// the literal it replaced was.
#pragma once

#include <numbers>

constexpr double Pi = std::numbers::pi;
