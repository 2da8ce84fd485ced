// The view transform placeCamera leaves on GL's modelview matrix, compared with the cameras
// (eye, centre, up) of the table computed here, and kept finite and orthonormal where the
// train's frame is undefined. (The turned free view is what every picture test looks through.)
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <string>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kMatrixTolerance = 2e-4;  // float frames and eye points of size about 10
constexpr double kUnitTolerance = 1e-4;    // lengths and dot products of the rotation rows

using Matrix = std::array<double, 16>;  // column-major, as GL keeps it

// The matrix takes world points where the camera sees them (the origin and the axes suffice).
void expectCamera(const Matrix& m, const LookAt& cam, const std::string& what) {
    const Vec probes[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 4; ++i)
        for (int r = 0; r < 3; ++r) {
            const Vec& p = probes[i];
            const double seen = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
            EXPECT_NEAR(seen, inCamera(cam, p)[r], kMatrixTolerance) << what << ", probe " << i << ", " << r;
        }
}

// A view transform that GL can use: finite, its rotation rows unit length and at right angles.
void expectRigid(const Matrix& m, const std::string& what) {
    for (double v : m) ASSERT_TRUE(std::isfinite(v)) << what;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(m[r] * m[c] + m[4 + r] * m[4 + c] + m[8 + r] * m[8 + c], r == c, kUnitTolerance) << what;
}

const LookAt kFreeView = {{0, 0, 35}, {0, 0, 0}, {0, 1, 0}};  // before any drag

class CameraTest : public testing::Test {
protected:
    void SetUp() override {
        showView(view);
        view.make_current();
    }
    Matrix placed() {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        view.placeCamera();
        Matrix m;
        glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
        return m;
    }
    void setTrain(const Vec& P, const Vec& T, const Vec& A) {
        for (int k = 0; k < 3; ++k) view.trainPos[k] = P[k], view.trainTangent[k] = T[k], view.trainUp[k] = A[k];
        view.trainRunning = 1;
    }
    CapturedView view{160, 120};
};

// A selected point of either ring is seen from focusViewOffset above and in front; switched off,
// or with a selection that is no point of the ring, the free view stays.
TEST_F(CameraTest, SelectingAPointLooksDownAtItFromAboveAndInFront) {
    setRing(view, {{{2, 1, -3}}, {{5, 0, 0}}}, 4.0f);
    view.focusViewOffset = 10.0f;
    const struct { int point, guidePoint, focus; LookAt expected; const char* what; } cases[] = {
        {0, -1, 1, {{2, 11, 7}, {2, 1, -3}, {0, 1, 0}}, "track point"},
        {-1, 1, 1, {{5, 14, 10}, {5, 4, 0}, {0, 1, 0}}, "guide point"},
        {-1, 1, 0, kFreeView, "look-down view switched off"},
        {-1, 7, 1, kFreeView, "stale selection"}};
    for (const auto& c : cases) {
        view.selectedPoint = c.point, view.selectedPoint2 = c.guidePoint, view.focusSelectedView = c.focus;
        expectCamera(placed(), c.expected, c.what);
    }
}

TEST_F(CameraTest, RideViewsFollowTheTrainAsTheTableSays) {
    const Vec P = {3, 2, -1}, tangent = {2, 0.5, -1}, hint = {0.5, 3, 0.2};
    setTrain(P, tangent, hint);
    // The frame, built here in double: forward, side to the right, up perpendicular to forward.
    const Vec T = unit(tangent), S = unit(cross(T, hint)), U = cross(S, T);
    ASSERT_GT(dot(U, hint), 0.0);
    const Vec ahead = P + 2.0 * T + 0.75 * U;
    const LookAt expected[] = {
        {{0, 0, 0}, {0, 0, -1}, {0, 1, 0}},  // no such view: the identity
        {P + U, ahead, U},
        {P - 2.0 * T + 1.5 * U, ahead, U},
        {P + 2.0 * T + U, P - 2.0 * T + 0.5 * U, U},
        {P + Vec{4, 4, 4}, P, U},
        {{0, 5, 0}, ahead, {0, 1, 0}},
    };
    for (int mode = 1; mode <= 6; ++mode) {
        view.cameraMode = mode;
        expectCamera(placed(), expected[mode % 6], "mode " + std::to_string(mode));
    }
    view.trainRunning = 0, view.cameraMode = 3;  // a stopped train shows the free view in every mode
    expectCamera(placed(), kFreeView, "train stopped");
}

TEST_F(CameraTest, UndefinedTrainFramesStillGiveUsableRideViews) {
    const struct { const char* what; Vec pos, tangent, up; } cases[] = {
        {"points stacked on one spot", {1, 1, 1}, {0, 0, 0}, {0, 4, 0}},
        {"guide ring on the track", {1, 1, 1}, {1, 0, 0}, {0, 0, 0}},
        {"up hint along the track", {1, 1, 1}, {0, 3, 0}, {0, 2, 0}},
        {"up along view 4's line of sight", {1, 2, 3}, {1, -1, 0}, {1, 1, 1}},
        {"view 5's target on its eye", {-2, 4.25, 0}, {1, 0, 0}, {0, 3, 0}},
        {"view 5's target straight below", {-2, 0, 0}, {1, 0, 0}, {0, 3, 0}},
    };
    for (const auto& c : cases) {
        setTrain(c.pos, c.tangent, c.up);
        for (int mode = 1; mode <= 5; ++mode) {
            view.cameraMode = mode;
            expectRigid(placed(), std::string(c.what) + ", mode " + std::to_string(mode));
        }
    }
}

}  // namespace
