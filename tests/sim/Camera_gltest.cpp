// The view transform placeCamera leaves on GL's modelview matrix, compared with look-at matrices
// computed here from the camera table, and kept finite and orthonormal where the train's frame
// is undefined.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kMatrixTolerance = 2e-4;  // float frames and eye points of size about 10
constexpr double kUnitTolerance = 1e-4;    // lengths and dot products of the rotation rows

using Vec = std::array<double, 3>;
using Matrix = std::array<double, 16>;  // column-major, as GL keeps it

Vec add(const Vec& a, const Vec& b, double s = 1.0) { return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]}; }
double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec unit(const Vec& v) {
    const double l = std::sqrt(dot(v, v));
    return {v[0] / l, v[1] / l, v[2] / l};
}

// The matrix of gluLookAt: rows side, up, -forward, then the eye moved to the origin.
Matrix lookAtMatrix(const Vec& eye, const Vec& centre, const Vec& up) {
    const Vec f = unit(add(centre, eye, -1.0));
    const Vec s = unit(cross(f, up));
    const Vec u = cross(s, f);
    const Vec rows[3] = {s, u, {-f[0], -f[1], -f[2]}};
    Matrix m{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) m[c * 4 + r] = rows[r][c];
        m[12 + r] = -dot(rows[r], eye);
    }
    m[15] = 1.0;
    return m;
}

Matrix translation(double x, double y, double z) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}; }

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
    void setTrain(const Vec& pos, const Vec& tangent, const Vec& up) {
        for (int k = 0; k < 3; ++k) {
            view.trainPos[k] = static_cast<float>(pos[k]);
            view.trainTangent[k] = static_cast<float>(tangent[k]);
            view.trainUp[k] = static_cast<float>(up[k]);
        }
        view.trainRunning = 1;
    }
    CapturedView view{160, 120};
};

void expectMatrix(const Matrix& actual, const Matrix& expected, const std::string& what) {
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(actual[k], expected[k], kMatrixTolerance) << what << ", element " << k;
}

// A view transform that GL can use: finite, its rotation rows unit length and at right angles.
void expectRigid(const Matrix& m, const std::string& what) {
    for (double v : m) ASSERT_TRUE(std::isfinite(v)) << what;
    Vec rows[3];
    for (int r = 0; r < 3; ++r) rows[r] = {m[r], m[4 + r], m[8 + r]};
    for (int r = 0; r < 3; ++r) {
        EXPECT_NEAR(dot(rows[r], rows[r]), 1.0, kUnitTolerance) << what << ", row " << r;
        EXPECT_NEAR(dot(rows[r], rows[(r + 1) % 3]), 0.0, kUnitTolerance) << what << ", rows " << r;
    }
    EXPECT_NEAR(dot(cross(rows[0], rows[1]), rows[2]), 1.0, kUnitTolerance) << what << ": not a rotation";
}

TEST_F(CameraTest, FreeViewStandsCamDistanceInFrontOfTheTurnedWorld) {
    expectMatrix(placed(), translation(0, 0, -35), "before any drag");
    view.camDistance = 20;
    view.arcBall.beginDrag(0.0f, 0.0f);
    view.arcBall.dragTo(static_cast<float>(std::sqrt(0.5)), 0.0f);  // a quarter turn about +y
    const Matrix m = placed();
    // The world's +z end now points right, 20 in front of the eye.
    const Vec front = {m[8] + m[12], m[9] + m[13], m[10] + m[14]};
    EXPECT_NEAR(front[0], 1.0, kMatrixTolerance);
    EXPECT_NEAR(front[1], 0.0, kMatrixTolerance);
    EXPECT_NEAR(front[2], -20.0, kMatrixTolerance);
    expectRigid(m, "turned free view");
}

TEST_F(CameraTest, SelectingAPointLooksDownAtItFromAboveAndInFront) {
    setRing(view, {{{2, 1, -3}}, {{5, 0, 0}}}, 4.0f);
    view.focusViewOffset = 10.0f;
    view.selectedPoint = 0;
    expectMatrix(placed(), lookAtMatrix({2, 11, 7}, {2, 1, -3}, {0, 1, 0}), "track point");
    view.selectedPoint = -1;
    view.selectedPoint2 = 1;
    expectMatrix(placed(), lookAtMatrix({5, 14, 10}, {5, 4, 0}, {0, 1, 0}), "guide point");
    view.focusSelectedView = 0;
    expectMatrix(placed(), translation(0, 0, -35), "look-down view switched off");
    view.focusSelectedView = 1;
    view.selectedPoint2 = 7;  // not a point of the ring
    expectMatrix(placed(), translation(0, 0, -35), "stale selection");
}

TEST_F(CameraTest, RideViewsFollowTheTrainAsTheTableSays) {
    const Vec P = {3, 2, -1}, tangent = {2, 0.5, -1}, hint = {0.5, 3, 0.2};
    setTrain(P, tangent, hint);
    // The frame, built here in double: forward, side to the right, up perpendicular to forward.
    const Vec T = unit(tangent);
    const Vec S = unit(cross(T, unit(hint)));
    const Vec U = unit(cross(S, T));
    ASSERT_GT(dot(U, hint), 0.0);
    const Vec ahead = add(add(P, T, 2.0), U, 0.75);
    const Matrix expected[5] = {
        lookAtMatrix(add(P, U), ahead, U),
        lookAtMatrix(add(add(P, U, 1.5), T, -2.0), ahead, U),
        lookAtMatrix(add(add(P, T, 2.0), U), add(add(P, T, -2.0), U, 0.5), U),
        lookAtMatrix(add(P, {4, 4, 4}), P, U),
        lookAtMatrix({0, 5, 0}, ahead, {0, 1, 0}),
    };
    for (int mode = 1; mode <= 5; ++mode) {
        view.cameraMode = mode;
        const Matrix m = placed();
        expectMatrix(m, expected[mode - 1], "mode " + std::to_string(mode));
        expectRigid(m, "mode " + std::to_string(mode));
    }
    view.cameraMode = 7;
    expectMatrix(placed(), translation(0, 0, 0), "no such mode");

    // A stopped train shows the free view in every mode.
    view.trainRunning = 0;
    view.cameraMode = 3;
    expectMatrix(placed(), translation(0, 0, -35), "train stopped");
}

TEST_F(CameraTest, UndefinedTrainFramesStillGiveUsableRideViews) {
    struct Case {
        const char* what;
        Vec pos, tangent, up;
    };
    const Case cases[] = {
        {"points stacked on one spot", {1, 1, 1}, {0, 0, 0}, {0, 4, 0}},
        {"guide ring on the track", {1, 1, 1}, {1, 0, 0}, {0, 0, 0}},
        {"up hint along the track", {1, 1, 1}, {0, 3, 0}, {0, 2, 0}},
        {"nothing defined", {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {"up along view 4's line of sight", {1, 2, 3}, {1, -1, 0}, {1, 1, 1}},
        {"view 5's target on its eye", {-2, 4.25, 0}, {1, 0, 0}, {0, 3, 0}},
        {"view 5's target straight below", {-2, 0, 0}, {1, 0, 0}, {0, 3, 0}},
    };
    for (const Case& c : cases) {
        setTrain(c.pos, c.tangent, c.up);
        for (int mode = 1; mode <= 5; ++mode) {
            view.cameraMode = mode;
            expectRigid(placed(), std::string(c.what) + ", mode " + std::to_string(mode));
        }
    }
}

}  // namespace
