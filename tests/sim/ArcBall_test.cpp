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

// Each row: one or two drags (press, drag to), then where the axes end up. A new press after them
// folds the last drag in and must leave the view as it was.
TEST(ArcBall, DragsTurnTheWorldWithTheMouseByTwiceTheSphereAngleAndCompose) {
    const float q = kHalfSqrt2;
    const struct { int drags; float drag[2][4]; float axes[3][3]; const char* what; } cases[] = {
        {1, {{0, 0, q, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}, "right: 90 degrees, the front (+z) turns right"},
        {1, {{0, 0, 1, 0}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, "centre to the edge: half a turn about y"},
        {1, {{0, 0, 0, q}}, {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, "up: 90 degrees, the front turns up"},
        {1, {{2, 0, 0, 1.5f}}, {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, "outside the circle, right to above: about z"},
        {1, {{0.3f, 0.2f, 0.3f, 0.2f}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, "back at its start: no turn"},
        {2, {{0, 0, q, 0}, {0, 0, 0, q}}, {{0, -1, 0}, {0, 0, -1}, {1, 0, 0}}, "right, then up: in that order"},
    };
    for (const auto& c : cases) {
        ArcBall ball;
        for (int d = 0; d < c.drags; ++d) {
            ball.beginDrag(c.drag[d][0], c.drag[d][1]);
            ball.dragTo(c.drag[d][2], c.drag[d][3]);
        }
        expectAxes(ball, c.axes, c.what);
        ball.beginDrag(0.7f, -0.7f);
        expectAxes(ball, c.axes, c.what);
    }
}

}  // namespace
