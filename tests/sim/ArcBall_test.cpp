// The arcball: drags turn the world as the mouse moves, by twice the angle between their points on
// the sphere (positions outside the circle lie on its rim), and compose drag after drag.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/ArcBall.h"

namespace {

constexpr float kRounding = 1e-5f;  // float rounding of a few products
const float kHalfSqrt2 = static_cast<float>(std::sqrt(0.5));  // 45 degrees over the sphere from the centre

// Where the ball's matrix takes the x, y and z axes (its columns, as GL reads it).
void expectAxes(const ArcBall& ball, const float (&axes)[3][3], const char* what) {
    float m[16];
    ball.getMatrix(m);
    for (int a = 0; a < 3; ++a)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(m[4 * a + k], axes[a][k], kRounding) << what << ", axis " << a;
}

TEST(ArcBall, DragsTurnTheWorldWithTheMouseByTwiceTheSphereAngle) {
    const struct { float drag[2][2]; float axes[3][3]; const char* what; } cases[] = {
        {{{0, 0}, {kHalfSqrt2, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}, "right: 90 degrees, the front (+z) turns right"},
        {{{0, 0}, {1, 0}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, "centre to the edge: half a turn about y"},
        {{{0, 0}, {0, kHalfSqrt2}}, {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, "up: 90 degrees, the front turns up"},
        {{{2, 0}, {0, 1.5f}}, {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, "outside the circle, right to above: half a turn about z"},
        {{{0.3f, 0.2f}, {0.3f, 0.2f}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, "back at its start: no turn"},
    };
    for (const auto& c : cases) {
        ArcBall ball;
        ball.beginDrag(c.drag[0][0], c.drag[0][1]);
        ball.dragTo(c.drag[1][0], c.drag[1][1]);
        expectAxes(ball, c.axes, c.what);
    }
}

TEST(ArcBall, ConsecutiveDragsComposeInOrderAndANewPressKeepsTheView) {
    ArcBall ball;
    ball.beginDrag(0.0f, 0.0f);
    ball.dragTo(kHalfSqrt2, 0.0f);  // first: 90 degrees about +y
    ball.beginDrag(0.0f, 0.0f);
    ball.dragTo(0.0f, kHalfSqrt2);  // then: 90 degrees about -x
    const float both[3][3] = {{0, -1, 0}, {0, 0, -1}, {1, 0, 0}};
    expectAxes(ball, both, "two drags");
    ball.beginDrag(0.7f, -0.7f);  // folds the second drag in
    expectAxes(ball, both, "after a third press");
}

}  // namespace
