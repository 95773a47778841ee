// Helpers shared by the curve tests: random polylines and attribute shorthands.
#ifndef ZEDLL_TESTS_CURVES_CURVE_TEST_UTIL_H
#define ZEDLL_TESTS_CURVES_CURVE_TEST_UTIL_H

#include <cmath>
#include <random>
#include <vector>

#include "zedll.h"

namespace zedtest {

inline tagAPOINT Pt(float x, float y, uint16_t flags = 0, uint16_t code = 0) {
    tagAPOINT p(x, y);
    p.a.code = code;
    p.a.flags = flags;
    return p;
}

/// A random walk of `n` points with steps of 1 to `max_step` units and turns of up to 90 degrees.
inline std::vector<tagAPOINT> RandomPolyline(std::mt19937& rng, int n, double max_step) {
    std::uniform_real_distribution<double> step(1.0, max_step), turn(-1.57, 1.57);
    std::vector<tagAPOINT> v;
    double x = std::uniform_real_distribution<double>(-500, 500)(rng), y = x / 3, heading = 0;
    for (int i = 0; i < n; ++i) {
        v.push_back(Pt(static_cast<float>(x), static_cast<float>(y)));
        heading += turn(rng);
        const double s = step(rng);
        x += s * std::cos(heading);
        y += s * std::sin(heading);
    }
    return v;
}

}  // namespace zedtest

#endif
