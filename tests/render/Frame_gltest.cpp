// Parts of the frame read back from a real GL context: a view of width 0 still composes its
// frame, the marker cubes equal cubes drawn by moving the matrix to each centre, and the ride
// views leave exactly what gluLookAt makes of the view table's eye, centre and up, summed in double.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>

#include "render/Markers.h"
#include "tests/support/SceneCapture.h"
#include "track/TrackGeometry.h"

namespace {

TEST(Frame, AViewOfWidthZeroStillSetsItsViewport) {
    CapturedView view(64, 48);
    drawFrame(view);
    view.Fl_Widget::resize(0, 0, 0, 48);  // the record's size only; the window stays
    view.TrackView::draw();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == 0 && viewport[3] == 48) << viewport[2] << " x " << viewport[3];
}

// 300 cubes of marker size seen at an angle, drawn with drawCube or as glPushMatrix, glTranslated,
// the six faces about the origin, glPopMatrix.
std::vector<unsigned char> cubes(CapturedView& view, bool pushTranslatePop) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(3.1, 7.3, 9.7, 0.2, 0.0, -0.3, 0.0, 1.0, 0.0);
    const double h = kPointMarkerSize / 2.0;
    const int faces[6][5][3] = {{{0, 0, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},
                                {{0, 0, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
                                {{0, 1, 0}, {1, 1, 1}, {-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}},
                                {{0, -1, 0}, {1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}},
                                {{1, 0, 0}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}},
                                {{-1, 0, 0}, {-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}}};
    for (int i = 0; i < 300; ++i) {
        const double x = (i % 20) * 0.37 - 3.7, y = (i / 20) * 0.29 - 2.1, z = (i % 7) * 0.13;
        if (!pushTranslatePop) {
            drawCube(x, y, z, kPointMarkerSize);
            continue;
        }
        glPushMatrix();
        glTranslated(x, y, z);
        glBegin(GL_QUADS);
        for (const auto& f : faces) {
            glNormal3d(f[0][0], f[0][1], f[0][2]);
            for (int k = 1; k < 5; ++k) glVertex3d(f[k][0] * h, f[k][1] * h, f[k][2] * h);
        }
        glEnd();
        glPopMatrix();
    }
    view.capture();
    return view.frame;
}

TEST(Markers, EveryCubePixelEqualsPushTranslateDrawPop) {
    CapturedView view(400, 300);
    drawFrame(view);  // leaves the projection and the depth test for the cubes
    view.make_current();
    EXPECT_EQ(cubes(view, false), cubes(view, true));
}

TEST(RideViews, LookAsTheTableSaysInDouble) {
    CapturedView view(64, 48);
    drawFrame(view);
    view.make_current();
    view.trainRunning = 1;
    const float trains[][3][3] = {{{1.3f, 2.7f, -4.1f}, {3.1f, 0.4f, -2.2f}, {0.3f, 3.9f, 0.7f}},  // place,
                                  {{-7.9f, 0.11f, 5.3f}, {-0.02f, 1.7f, 9.4f}, {2.1f, -0.6f, 0.3f}}};  // tangent, up hint
    for (const auto& train : trains) {
        for (int k = 0; k < 3; ++k)
            view.trainPos[k] = train[0][k], view.trainTangent[k] = train[1][k], view.trainUp[k] = train[2][k];
        float T[3], S[3], U[3];
        ASSERT_TRUE(makeFrame(train[1], train[2], T, S, U));  // its literal form: Geometry_test
        for (int mode = 1; mode <= 5; ++mode) {
            double v[3][3];  // eye, centre, up
            for (int k = 0; k < 3; ++k) {
                const double p = train[0][k], ahead = p + 2 * T[k] + 0.75 * U[k];
                const double rows[5][3] = {{p + U[k], ahead, U[k]},
                                           {p + 1.5 * U[k] - 2 * T[k], ahead, U[k]},
                                           {p + 2 * T[k] + U[k], p - 2 * T[k] + 0.5 * U[k], U[k]},
                                           {p + 4, p, U[k]},
                                           {k == 1 ? 5.0 : 0.0, ahead, k == 1 ? 1.0 : 0.0}};
                for (int r = 0; r < 3; ++r) v[r][k] = rows[mode - 1][r];
            }
            std::array<double, 16> expected, placed;  // the modelview matrices
            glLoadIdentity();
            gluLookAt(v[0][0], v[0][1], v[0][2], v[1][0], v[1][1], v[1][2], v[2][0], v[2][1], v[2][2]);
            glGetDoublev(GL_MODELVIEW_MATRIX, expected.data());
            view.cameraMode = mode;
            glLoadIdentity();
            view.placeCamera();
            glGetDoublev(GL_MODELVIEW_MATRIX, placed.data());
            EXPECT_EQ(placed, expected) << "mode " << mode;
        }
    }
}

}  // namespace
