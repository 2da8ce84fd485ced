// The track frames compared bit for bit with their constructions written out here from their
// definitions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "track/TrackGeometry.h"

namespace {

// Vectors of three floats; every product and sum in double, rounded to float when stored; a
// length the double root of the sum of squares rounded to float. Out of line, so that GCC 12's
// -O2 vectoriser cannot merge them (it changes last bits; see track/TrackGeometry.cpp).
using V = std::array<float, 3>;
using Frame = std::array<V, 3>;  // forward, side, up
__attribute__((noinline)) float ab_cd(double a, double b, double c, double d) { return float(a * b - c * d); }
V crossOf(const V& a, const V& b) {
    return {ab_cd(a[1], b[2], a[2], b[1]), ab_cd(a[2], b[0], a[0], b[2]), ab_cd(a[0], b[1], a[1], b[0])};
}
__attribute__((noinline)) double lengthOf(const V& v) {
    return std::sqrt(double(float(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2])));
}
V over(const V& v, double scale) {  // v / (scale |v|)
    const double length = lengthOf(v);
    return {float(v[0] / (scale * length)), float(v[1] / (scale * length)), float(v[2] / (scale * length))};
}

TEST(TrackFrames, EqualTheWrittenConstructionBitForBit) {
    std::mt19937 random(8);
    std::uniform_real_distribution<float> value(-20.0f, 20.0f);
    for (int n = 0; n < 5000; ++n) {
        const V T = {value(random), value(random), value(random)}, A = {value(random), value(random), value(random)};
        V f, s, u;
        // Train and ride views: T/|T|, D = A/|A|, S = (T x D)/|T x D|, U = -(T x S)/|T x S|.
        ASSERT_TRUE(makeFrame(T.data(), A.data(), f.data(), s.data(), u.data()));
        const V t = over(T, 1), side = over(crossOf(t, over(A, 1)), 1);
        EXPECT_EQ((Frame{f, s, u}), (Frame{t, side, over(crossOf(t, side), -1)}));
        // Ties: X = T x A, S = X/|X|, U = -(T^ x X)/|T^ x X|.
        ASSERT_TRUE(makeTieFrame(T.data(), A.data(), f.data(), s.data(), u.data()));
        const V X = crossOf(T, A);
        EXPECT_EQ((Frame{f, s, u}), (Frame{t, over(X, 1), over(crossOf(t, X), -1)}));
    }
}

}  // namespace
