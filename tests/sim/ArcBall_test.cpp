// The arcball and its quaternions: drags turn the world as the mouse moves, compose drag after
// drag, and map positions outside the circle onto its rim; mouse positions map to the unit square.
#include <gtest/gtest.h>

#include <FL/Fl.H>

#include <array>
#include <cmath>

#include "sim/ArcBall.h"
#include "track/TrackView.h"

namespace {

constexpr float kRounding = 1e-5f;  // float rounding of a few products

using Vec = std::array<double, 3>;

// What GL does with the matrix getMatrix fills: it reads it column by column.
Vec applyGl(const float m[16], const Vec& v) {
    Vec out;
    for (int row = 0; row < 3; ++row) out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row];
    return out;
}

// The rotation by angle degrees about a unit axis, applied to v (Rodrigues' formula).
Vec rotate(const Vec& axis, double degrees, const Vec& v) {
    const double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    const double dot = axis[0] * v[0] + axis[1] * v[1] + axis[2] * v[2];
    const Vec cross = {axis[1] * v[2] - axis[2] * v[1], axis[2] * v[0] - axis[0] * v[2], axis[0] * v[1] - axis[1] * v[0]};
    Vec out;
    for (int k = 0; k < 3; ++k) out[k] = v[k] * c + cross[k] * s + axis[k] * dot * (1 - c);
    return out;
}

void expectSameVector(const Vec& actual, const Vec& expected, const char* what) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(actual[k], expected[k], kRounding) << what << ", component " << k;
}

const Vec kProbes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3, -0.5, 0.8}};

TEST(ArcBall, DragBackToItsStartLeavesTheViewAsItWas) {
    ArcBall ball;
    ball.beginDrag(0.1f, 0.2f);
    ball.dragTo(0.5f, -0.3f);
    float before[16];
    ball.getMatrix(before);

    ball.beginDrag(0.3f, 0.2f);
    ball.dragTo(0.6f, -0.1f);
    ball.dragTo(-0.4f, 0.5f);
    ball.dragTo(0.3f, 0.2f);
    float after[16];
    ball.getMatrix(after);
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(after[k], before[k], kRounding) << "element " << k;
}

TEST(ArcBall, DraggingFromTheCentreTurnsTheWorldWithTheMouseByTwiceTheSphereAngle) {
    ArcBall ball;
    ball.beginDrag(0.0f, 0.0f);
    // 45 degrees over the sphere to the right: the world turns 90 degrees about +y, its front
    // (+z, facing the eye) to the right.
    ball.dragTo(static_cast<float>(std::sqrt(0.5)), 0.0f);
    float m[16];
    ball.getMatrix(m);
    for (const Vec& v : kProbes) expectSameVector(applyGl(m, v), rotate({0, 1, 0}, 90, v), "quarter turn");

    // Centre to the edge: half a turn.
    ball.dragTo(1.0f, 0.0f);
    ball.getMatrix(m);
    for (const Vec& v : kProbes) expectSameVector(applyGl(m, v), rotate({0, 1, 0}, 180, v), "half turn");

    // Upwards the front turns up: about -x.
    ArcBall up;
    up.beginDrag(0.0f, 0.0f);
    up.dragTo(0.0f, static_cast<float>(std::sqrt(0.5)));
    up.getMatrix(m);
    expectSameVector(applyGl(m, {0, 0, 1}), {0, 1, 0}, "upward drag");
}

TEST(ArcBall, ConsecutiveDragsComposeInOrder) {
    const float s = static_cast<float>(std::sqrt(0.5));
    ArcBall ball;
    ball.beginDrag(0.0f, 0.0f);
    ball.dragTo(s, 0.0f);  // first: 90 degrees about +y
    ball.beginDrag(0.0f, 0.0f);
    ball.dragTo(0.0f, s);  // then: 90 degrees about -x
    float m[16];
    ball.getMatrix(m);
    for (const Vec& v : kProbes)
        expectSameVector(applyGl(m, v), rotate({-1, 0, 0}, 90, rotate({0, 1, 0}, 90, v)), "two drags");

    // A third press folds the second drag in: the view stays as it was.
    ball.beginDrag(0.7f, -0.7f);
    float folded[16];
    ball.getMatrix(folded);
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(folded[k], m[k], kRounding) << "element " << k;
}

TEST(ArcBall, PositionsOutsideTheCircleLandOnItsRimAndTurnAboutTheViewAxis) {
    float x, y, z;
    projectToSphere(3.0f, 4.0f, &x, &y, &z);
    EXPECT_NEAR(x, 0.6f, kRounding);
    EXPECT_NEAR(y, 0.8f, kRounding);
    EXPECT_EQ(z, 0.0f);
    projectToSphere(-1.0f, -1.0f, &x, &y, &z);  // a corner of the view
    EXPECT_NEAR(std::hypot(x, y), 1.0f, kRounding);
    EXPECT_EQ(z, 0.0f);
    projectToSphere(0.6f, 0.0f, &x, &y, &z);  // inside: onto the front of the sphere
    EXPECT_NEAR(z, 0.8f, kRounding);

    // From right of the view to above it, both outside: a quarter of the rim, a half turn about z.
    ArcBall ball;
    ball.beginDrag(2.0f, 0.0f);
    ball.dragTo(0.0f, 1.5f);
    float m[16];
    ball.getMatrix(m);
    for (const Vec& v : kProbes) expectSameVector(applyGl(m, v), rotate({0, 0, 1}, 180, v), "rim drag");
}

TEST(Quaternion, ZeroGivesTheIdentityMatrixAndNormalizeKeepsItFinite) {
    Quaternion zero(0, 0, 0, 0);
    zero.normalize();
    EXPECT_TRUE(std::isfinite(zero.x) && std::isfinite(zero.w));
    float m[16];
    zero.toMatrix(m);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], (k % 5 == 0) ? 1.0f : 0.0f) << "element " << k;
}

TEST(MouseMapping, ViewCornersMapToTheUnitSquareWithYUp) {
    TrackView view(0, 0, 400, 200);
    double x, y;
    Fl::e_x = 0;
    Fl::e_y = 0;
    view.getMouseNDC(&x, &y);
    EXPECT_EQ(x, -1.0);
    EXPECT_EQ(y, 1.0);  // the top of the view
    Fl::e_x = 300;
    Fl::e_y = 150;
    view.getMouseNDC(&x, &y);
    EXPECT_EQ(x, 0.5);  // scaled by the width
    EXPECT_EQ(y, -0.5);  // and by the height: the arcball fills the view as an ellipse

    view.Fl_Widget::resize(0, 0, 0, 0);  // a view without area maps everything to its centre
    view.getMouseNDC(&x, &y);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
}

}  // namespace
