// Cubic segments, global-parameter addressing and the track frame.
#include <gtest/gtest.h>

#include <cmath>

#include "track/CurveSegment.h"
#include "track/TrackGeometry.h"

namespace {

constexpr float kTolerance = 1e-6f;

TEST(CurveSegment, EvaluatesTheCubicAndItsDerivative) {
    CurveSegment cube;
    const float row[4] = {1, 0, 0, 0};
    cube.setCoefficients(row, row, row);
    float x, y, z;
    cube.evaluate(&x, &y, &z, 0.5f);
    EXPECT_FLOAT_EQ(x, 0.125f);
    EXPECT_FLOAT_EQ(z, 0.125f);
    cube.derivative(&x, &y, &z, 0.5f);
    EXPECT_FLOAT_EQ(y, 0.75f);

    CurveSegment mixed;
    const float rx[4] = {2, -3, 0.5f, 7}, ry[4] = {0, 0, 0, -2.5f}, rz[4] = {-1, 4, 2, 0.1f};
    mixed.setCoefficients(rx, ry, rz);
    mixed.evaluate(&x, &y, &z, 0.0f);
    EXPECT_EQ(x, 7.0f);  // the constants come back exactly at t = 0
    EXPECT_EQ(y, -2.5f);
    EXPECT_EQ(z, 0.1f);
    mixed.evaluate(&x, &y, &z, 0.3f);
    EXPECT_NEAR(x, 2 * 0.027 - 3 * 0.09 + 0.15 + 7, kTolerance);
    EXPECT_EQ(y, -2.5f);  // a constant row stays constant
    mixed.derivative(&x, &y, &z, 0.3f);
    EXPECT_NEAR(z, -3 * 0.09 + 8 * 0.3 + 2, kTolerance);
    EXPECT_EQ(y, 0.0f);
}

TEST(CurveSegment, NewSegmentIsAZeroPoint) {
    CurveSegment fresh;
    float x = 1, y = 1, z = 1, length = 1;
    fresh.evaluate(&x, &y, &z, 0.7f);
    fresh.getLength(&length);
    EXPECT_EQ(x + y + z + length, 0.0f);
}

TEST(LocateOnTrack, SplitsTheParameterAndNeverIndexesPastTheLastSegment) {
    int i;
    float local;
    locateOnTrack(0.55, 4, &i, &local);
    EXPECT_EQ(i, 2);
    EXPECT_NEAR(local, 0.2f, kTolerance);
    locateOnTrack(1.0, 4, &i, &local);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(local, 1.0f);
    // The largest float below 1 times 100 rounds to 100 in float arithmetic.
    locateOnTrack(std::nextafter(1.0f, 0.0f), 100, &i, &local);
    EXPECT_EQ(i, 99);
    EXPECT_LE(local, 1.0f);
    locateOnTrack(std::nan(""), 5, &i, &local);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(local, 0.0f);
    locateOnTrack(-0.25, 5, &i, &local);
    EXPECT_EQ(i, 0);
}

void expectOrthonormal(const float a[3], const float b[3], const float c[3]) {
    auto dot = [](const float* p, const float* q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; };
    EXPECT_NEAR(dot(a, a), 1.0f, 1e-5f);
    EXPECT_NEAR(dot(b, b), 1.0f, 1e-5f);
    EXPECT_NEAR(dot(c, c), 1.0f, 1e-5f);
    EXPECT_NEAR(dot(a, b), 0.0f, 1e-5f);
    EXPECT_NEAR(dot(a, c), 0.0f, 1e-5f);
    EXPECT_NEAR(dot(b, c), 0.0f, 1e-5f);
}

TEST(MakeFrame, SideIsRightOfTravelAndUpIsTheHintMadePerpendicular) {
    const float tangent[3] = {0, 0, -3};  // travelling towards -z
    const float hint[3] = {0, 2, -2};     // up and forward
    float f[3], s[3], u[3];
    EXPECT_TRUE(makeFrame(tangent, hint, f, s, u));
    EXPECT_NEAR(f[2], -1.0f, kTolerance);
    EXPECT_NEAR(s[0], 1.0f, kTolerance);  // looking down -z with y up, right is +x
    EXPECT_NEAR(u[1], 1.0f, kTolerance);
    expectOrthonormal(f, s, u);
}

TEST(MakeFrame, UndefinedInputsStillGiveAFiniteOrthonormalFrame) {
    const float zero[3] = {0, 0, 0};
    const float along[3] = {0, 5, 0};
    const float nan3[3] = {NAN, 0, 0};
    const float up[3] = {0, 1, 0};
    const float cases[][2][3] = {{{0, 0, 0}, {0, 4, 0}}, {{1, 0, 0}, {0, 0, 0}}, {{0, 2, 0}, {0, 5, 0}}};
    for (const auto& c : cases) {
        float f[3], s[3], u[3];
        EXPECT_FALSE(makeFrame(c[0], c[1], f, s, u));
        expectOrthonormal(f, s, u);
    }
    float f[3], s[3], u[3];
    EXPECT_FALSE(makeFrame(zero, along, f, s, u));
    EXPECT_FALSE(makeFrame(nan3, up, f, s, u));
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(std::isfinite(f[k] + s[k] + u[k]));
}

}  // namespace
