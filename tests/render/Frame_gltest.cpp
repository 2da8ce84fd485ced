// One frame as the user sees it, read back from a real GL context: the ground's squares, the sky
// beyond them, the black shadow (not on the very first frame), and a view without height.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
const Rgb kSky = rgb(0.0, 0.0, 0.5);
const Rgb kGroundOdd = rgb(0.0, 0.75, 0.0);  // squares with i + j odd
const Rgb kGroundEven = rgb(0.0, 0.5, 0.0);
constexpr double kSquare = 1.5;  // side of a ground square
constexpr double kGroundEdge = 15.0;

TEST(Frame, UnlitGroundSquaresHaveTheirColoursAndTheSkyShowsBeyondTheGround) {
    CapturedView view(kWidth, kHeight);
    setRing(view, {{{0, 0, 0}}});  // one point at the origin, not drawn, to look down at
    view.selectedPoint = 0, view.showPoints = 0, view.lightingOn = 0;
    showView(view);
    const LookAt cam = {{0, view.focusViewOffset, view.focusViewOffset}, {0, 0, 0}, {0, 1, 0}};  // look-down view
    int checked = 0;
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j) {
            const Vec centre = {-kGroundEdge + (i + 0.5) * kSquare, 0, -kGroundEdge + (j + 0.5) * kSquare};
            const auto at = project(cam, kWidth, kHeight, centre);
            const Rgb seen = view.pixel(static_cast<int>(at[0]), static_cast<int>(at[1]));
            if (seen.r < 0) continue;  // outside the picture
            const Rgb expected = (i + j) % 2 ? kGroundOdd : kGroundEven;
            EXPECT_TRUE(near(seen, expected)) << "square " << i << ", " << j << ": " << seen << " not " << expected;
            ++checked;
        }
    EXPECT_GT(checked, 60);
    // The far edge of the ground lies well inside the picture; above it there is only sky.
    ASSERT_GT(project(cam, kWidth, kHeight, {0, 0, -kGroundEdge})[1], 10.0);
    for (int x = 0; x < kWidth; x += 16) EXPECT_TRUE(near(view.pixel(x, 2), kSky)) << "column " << x;
}

// A ring of radius 6 at height 3 drawn as a centre line: its shadow lies on the ground below it.
// The first frame draws the shadow before the depth test is on: the ground covers it.
TEST(Frame, TrackAboveTheGroundCastsABlackShadowFromTheSecondFrameOn) {
    CapturedView view(kWidth, kHeight);
    buildRing(view, circle(8, 6.0f, 3.0f));
    view.showPoints = 0, view.lightingOn = 0;
    const LookAt cam = tiltFreeView(view, 60, 30);
    std::vector<Vec> shadow;  // the near half, where the raised track does not cover it
    for (int k = 0; k < 100; ++k) {
        const Point3 p = pointAt(view.segments, view.numPoints, k / 100.0);
        if (p[2] > 3.0f) shadow.push_back({p[0], 0.01, p[2]});
    }
    ASSERT_GT(shadow.size(), 20u);
    for (int frame = 1; frame <= 2; ++frame) {
        drawFrame(view);
        ASSERT_EQ(view.framesDrawn, frame);
        for (const Vec& p : shadow) EXPECT_EQ(colourNear(view, cam, p, {0, 0, 0}), frame > 1) << "frame " << frame;
    }
}

// Drawn without height, the frame leaves a usable projection and no GL error, and the train
// still moves a step; back at its size the view draws the scene again.
TEST(Frame, AViewWithoutHeightLeavesGLUsableAndDrawsAgainAtItsSize) {
    CapturedView view(kWidth, kHeight);
    buildRing(view, circle(6, 5.0f, 1.0f));
    view.trainRunning = 1;
    showView(view);
    view.make_current();
    view.Fl_Widget::resize(0, 0, kWidth, 0);  // the record's size only; the window stays
    const float before = view.trainU;
    view.draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_NE(view.trainU, before);
    double projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (double v : projection) EXPECT_TRUE(std::isfinite(v));
    EXPECT_NE(projection[0] * projection[5], 0.0) << "a projection that flattens the scene";
    view.Fl_Widget::resize(0, 0, kWidth, kHeight);
    tiltFreeView(view, 60, 30);
    drawFrame(view);
    EXPECT_GT(view.count(kGroundOdd) + view.count(kGroundEven), 0);
}

}  // namespace
