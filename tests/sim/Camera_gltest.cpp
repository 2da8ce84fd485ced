// The ride views: placeCamera leaves on GL's modelview matrix exactly what gluLookAt makes of the
// eye, centre and up that the view table gives, summed here in double from the train's frame.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>

#include "tests/support/SceneCapture.h"
#include "track/TrackGeometry.h"

namespace {

using Matrix = std::array<double, 16>;

Matrix modelview() {
    Matrix m;
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

TEST(RideViews, LookAsTheTableSaysInDouble) {
    CapturedView view(64, 48);
    drawFrame(view);
    view.make_current();
    glMatrixMode(GL_MODELVIEW);
    view.trainRunning = 1;
    const float trains[][3][3] = {  // position, tangent, up hint
        {{1.3f, 2.7f, -4.1f}, {3.1f, 0.4f, -2.2f}, {0.3f, 3.9f, 0.7f}},
        {{-7.9f, 0.11f, 5.3f}, {-0.02f, 1.7f, 9.4f}, {2.1f, -0.6f, 0.3f}},
    };
    for (const auto& train : trains) {
        for (int k = 0; k < 3; ++k)
            view.trainPos[k] = train[0][k], view.trainTangent[k] = train[1][k], view.trainUp[k] = train[2][k];
        float T[3], S[3], U[3];
        ASSERT_TRUE(makeFrame(train[1], train[2], T, S, U));
        const double p[3] = {train[0][0], train[0][1], train[0][2]};
        auto at = [&](double t, double u, int k) { return p[k] + t * T[k] + u * U[k]; };
        for (int mode = 1; mode <= 5; ++mode) {
            double eye[3], centre[3];
            for (int k = 0; k < 3; ++k) {
                const double rows[5][2] = {{p[k] + U[k], at(2, 0.75, k)},
                                           {p[k] + 1.5 * U[k] - 2 * T[k], at(2, 0.75, k)},
                                           {p[k] + 2 * T[k] + U[k], p[k] - 2 * T[k] + 0.5 * U[k]},
                                           {p[k] + 4, p[k]},
                                           {k == 1 ? 5.0 : 0.0, at(2, 0.75, k)}};
                eye[k] = rows[mode - 1][0], centre[k] = rows[mode - 1][1];
            }
            const double up[3] = {mode == 5 ? 0.0 : U[0], mode == 5 ? 1.0 : U[1], mode == 5 ? 0.0 : U[2]};
            glLoadIdentity();
            gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
            const Matrix expected = modelview();
            view.cameraMode = mode;
            glLoadIdentity();
            view.placeCamera();
            EXPECT_EQ(modelview(), expected) << "mode " << mode;
        }
    }
}

}  // namespace
