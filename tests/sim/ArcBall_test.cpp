// The arcball: drags turn the world as the mouse moves, by twice the angle between their points on
// the sphere (positions outside the circle lie on its rim), and compose drag after drag.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "sim/ArcBall.h"

namespace {

constexpr float kRounding = 1e-5f;  // float rounding of a few products

using Vec = std::array<double, 3>;
using Axes = std::array<Vec, 3>;  // where the x, y and z axes end up
const Axes kAxes = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// The turned axes of the ball's matrix: the columns, as GL reads it.
Axes turned(const ArcBall& ball) {
    float m[16];
    ball.getMatrix(m);
    return {{{m[0], m[1], m[2]}, {m[4], m[5], m[6]}, {m[8], m[9], m[10]}}};
}

// The vectors turned by `degrees` about the unit axis n (Rodrigues' formula).
Axes rotated(const Vec& n, double degrees, Axes vectors = kAxes) {
    const double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    for (Vec& v : vectors) {
        const double along = n[0] * v[0] + n[1] * v[1] + n[2] * v[2];
        const Vec across = {n[1] * v[2] - n[2] * v[1], n[2] * v[0] - n[0] * v[2], n[0] * v[1] - n[1] * v[0]};
        for (int k = 0; k < 3; ++k) v[k] = v[k] * c + across[k] * s + n[k] * along * (1 - c);
    }
    return vectors;
}

void expectSame(const Axes& actual, const Axes& expected, const std::string& what) {
    for (int a = 0; a < 3; ++a)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(actual[a][k], expected[a][k], kRounding) << what << ", axis " << a;
}

const float kHalfSqrt2 = static_cast<float>(std::sqrt(0.5));  // 45 degrees over the sphere from the centre

TEST(ArcBall, DragsTurnTheWorldWithTheMouseByTwiceTheSphereAngle) {
    const struct { float fromX, fromY, toX, toY; Vec axis; double degrees; const char* what; } cases[] = {
        {0, 0, kHalfSqrt2, 0, {0, 1, 0}, 90, "right: the world's front (+z, facing the eye) turns right"},
        {0, 0, 1, 0, {0, 1, 0}, 180, "centre to the edge: half a turn"},
        {0, 0, 0, kHalfSqrt2, {-1, 0, 0}, 90, "up: the front turns up"},
        {2, 0, 0, 1.5f, {0, 0, 1}, 180, "outside the circle, right of it to above it: a quarter of the rim"},
    };
    for (const auto& c : cases) {
        ArcBall ball;
        ball.beginDrag(c.fromX, c.fromY);
        ball.dragTo(c.toX, c.toY);
        expectSame(turned(ball), rotated(c.axis, c.degrees), c.what);
    }
}

TEST(ArcBall, ConsecutiveDragsComposeInOrderAndANewPressKeepsTheView) {
    ArcBall ball;
    ball.beginDrag(0.0f, 0.0f);
    ball.dragTo(kHalfSqrt2, 0.0f);  // first: 90 degrees about +y
    ball.beginDrag(0.0f, 0.0f);
    ball.dragTo(0.0f, kHalfSqrt2);  // then: 90 degrees about -x
    const Axes both = rotated({-1, 0, 0}, 90, rotated({0, 1, 0}, 90));
    expectSame(turned(ball), both, "two drags");
    ball.beginDrag(0.7f, -0.7f);  // folds the second drag in
    expectSame(turned(ball), both, "after a third press");
}

}  // namespace
