// One frame as the user sees it, read back from a real GL context: the ground's squares, the sky
// beyond them, the black shadow (not on the very first frame), and a view without height.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
const Rgb kSky = rgb(0.0, 0.0, 0.5);
const Rgb kGroundOdd = rgb(0.0, 0.75, 0.0);  // squares with i + j odd
const Rgb kGroundEven = rgb(0.0, 0.5, 0.0);
const Rgb kBlack = {0, 0, 0};
constexpr double kSquare = 1.5;  // side of a ground square
constexpr double kGroundEdge = 15.0;

TEST(Frame, UnlitGroundSquaresHaveTheirColoursAndTheSkyShowsBeyondTheGround) {
    CapturedView view(kWidth, kHeight);
    setRing(view, {{{0, 0, 0}}});  // one invisible point at the origin to look down at
    view.selectedPoint = 0;
    view.showPoints = 0;
    view.lightingOn = 0;
    showView(view);
    const float origin[3] = {0, 0, 0};
    const LookAt cam = focusCamera(origin, view.focusViewOffset);

    int checked = 0;
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 20; ++j) {
            const double p[3] = {-kGroundEdge + (i + 0.5) * kSquare, 0.0, -kGroundEdge + (j + 0.5) * kSquare};
            double column, row;
            if (!project(cam, kWidth, kHeight, p, &column, &row) || column < 0 || row < 0 || column >= kWidth ||
                row >= kHeight)
                continue;
            const Rgb expected = (i + j) % 2 == 1 ? kGroundOdd : kGroundEven;
            const Rgb seen = view.pixel(static_cast<int>(column), static_cast<int>(row));
            EXPECT_TRUE(near(seen, expected)) << "square " << i << ", " << j << ": " << seen << " not " << expected;
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);

    // The far edge of the ground lies well inside the picture; above it there is only sky.
    const double farEdge[3] = {0.0, 0.0, -kGroundEdge};
    double column, row;
    ASSERT_TRUE(project(cam, kWidth, kHeight, farEdge, &column, &row));
    ASSERT_GT(row, 10.0);
    for (int x = 0; x < kWidth; x += 16) EXPECT_TRUE(near(view.pixel(x, 2), kSky)) << "column " << x;
}

// A ring of radius 6 at height 3 drawn as a centre line: its shadow lies on the ground below it.
TEST(Frame, TrackAboveTheGroundCastsABlackShadowFromTheSecondFrameOn) {
    CapturedView view(kWidth, kHeight);
    buildRing(view, circle(8, 6.0f, 3.0f));
    view.showPoints = 0;
    view.lightingOn = 0;
    const LookAt cam = tiltFreeView(view, 60, 30);
    showView(view);
    ASSERT_EQ(view.framesDrawn, 1);

    // The shadow's near half, where the raised track does not cover it in the picture.
    std::vector<std::array<double, 3>> shadow;
    for (int k = 0; k < 100; ++k) {
        const Point3 p = pointAt(view.segments, view.numPoints, k / 100.0);
        if (p[2] > 3.0f) shadow.push_back({p[0], 0.01, p[2]});
    }
    ASSERT_GT(shadow.size(), 20u);
    // The first frame draws the shadow before the depth test is on: the ground covers it.
    for (size_t k = 0; k < shadow.size(); ++k)
        EXPECT_FALSE(colourNear(view, cam, shadow[k][0], shadow[k][1], shadow[k][2], kBlack))
            << "first frame, shadow point " << k;

    drawFrame(view);
    for (size_t k = 0; k < shadow.size(); ++k)
        EXPECT_TRUE(colourNear(view, cam, shadow[k][0], shadow[k][1], shadow[k][2], kBlack)) << "shadow point " << k;
}

TEST(Frame, AViewWithoutHeightStaysClearAndLeavesGLUsable) {
    CapturedView view(kWidth, kHeight);
    buildRing(view, circle(6, 5.0f, 1.0f));
    view.trainRunning = 1;
    view.trainU = 0.0f;
    showView(view);
    view.make_current();
    view.Fl_Widget::resize(0, 0, kWidth, 0);  // the record's size only; the window stays
    const float before = view.trainU;
    view.draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_NE(view.trainU, before);  // the train still moves one step per redraw
    double matrix[16];
    for (GLenum which : {GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX}) {
        glGetDoublev(which, matrix);
        for (double v : matrix) EXPECT_TRUE(std::isfinite(v));
    }
    unsigned char centre[3];
    glReadBuffer(GL_BACK);
    glReadPixels(kWidth / 2, kHeight / 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, centre);
    EXPECT_TRUE(near(Rgb{centre[0], centre[1], centre[2]}, kSky));

    // Back to its size, the view draws the scene again.
    view.Fl_Widget::resize(0, 0, kWidth, kHeight);
    view.showPoints = 0;
    tiltFreeView(view, 60, 30);
    drawFrame(view);
    EXPECT_GT(view.count(kGroundOdd) + view.count(kGroundEven), 0);
}

}  // namespace
