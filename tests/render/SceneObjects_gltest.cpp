// Markers, trees and the train's lamp as drawn into a real GL context: the selected marker flat
// yellow, the light marker white, trees green on brown (the selected one yellow), and the lamp's
// red rising and falling from frame to frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

const Rgb kYellow = rgb(1, 1, 0);
const Rgb kGuideBlue = rgb(0, 0, 1);
const Rgb kWhite = rgb(1, 1, 1);
const Rgb kCrownGreen = rgb(0, 1, 0);
const Rgb kTrunkBrown = {79, 64, 11};
constexpr double kMarkerHalf = 0.125;  // half the edge of a control-point marker
// The lamp's step in 8-bit red. It takes two a frame: the shadow pass draws the train too.
constexpr double kLampStep = 0.01 * 255;
// Its float sum can reach the peak a step late; the fall then lags by up to two steps.
constexpr double kLampTolerance = 2 * kLampStep + kChannelTolerance;

// Two track points with guide points 4 above, the first selected, seen from the free view.
TEST(Markers, SelectedPointIsFlatYellowItsPartnerUnlitAndTheDropLineInThePartnersColour) {
    CapturedView view(640, 480);
    setRing(view, {{{2, 1, 0}}, {{-2, 1, 0}}}, 4.0f);
    view.selectedPoint = 0, view.focusSelectedView = 0;  // keep the free view
    const LookAt cam = tiltFreeView(view, 40, 20);
    showView(view);
    // Lit, the selected cube is the same yellow on its top and on its front.
    EXPECT_EQ(pixelAt(view, cam, {2, 1 + kMarkerHalf, 0}), kYellow);
    EXPECT_EQ(pixelAt(view, cam, {2, 1, kMarkerHalf}), kYellow);
    // Its partner is drawn before lighting comes back: its plain blue.
    EXPECT_EQ(pixelAt(view, cam, {2, 5, kMarkerHalf}), kGuideBlue);
    // The other point is lit: its front, turned from the light overhead, is darker than pure red.
    const Rgb other = pixelAt(view, cam, {-2, 1, kMarkerHalf});
    EXPECT_LT(other.r, 200);
    EXPECT_GT(other.r, other.g + 20);

    // Unlit: the drop line to the ground in the partner's colour, the light marker white.
    view.lightingOn = 0;
    view.lightPos[0] = -2.0f, view.lightPos[1] = 2.0f, view.lightPos[2] = 1.0f;
    drawFrame(view);
    EXPECT_TRUE(colourNear(view, cam, {2, 0.5, 0}, kGuideBlue)) << "drop line";
    EXPECT_EQ(pixelAt(view, cam, {-2, 2, 1.25}), kWhite) << "light marker";
    view.showPoints = 0;  // hides all of them
    drawFrame(view);
    EXPECT_EQ(view.count(kGuideBlue) + view.count(kWhite) + view.count(rgb(1, 0, 0)), 0);
}

// Seen from the side at ground level: a tree at x = -3 and, selected, one at x = 3 whose record
// says y = 10 (trees always stand on the ground).
TEST(Trees, CrownIsGreenTrunkBrownAndTheSelectedTreeYellow) {
    CapturedView view(640, 480);
    view.trees[0] = new ControlPoint(-3, 0, 0, 1.0f, 4.5f, 0, 0, 0);
    view.trees[1] = new ControlPoint(3, 10, 0, 1.0f, 4.5f, 0, 0, 0);
    view.numTrees = 2, view.selectedTree = 1, view.lightingOn = 0, view.camDistance = 15;
    const LookAt cam = {{0, 0, 15}, {0, 0, 0}, {0, 1, 0}};
    showView(view);
    EXPECT_EQ(pixelAt(view, cam, {-3, 2.5, 0}), kCrownGreen) << "crown";
    EXPECT_EQ(pixelAt(view, cam, {-3, 0.5, 0}), kTrunkBrown) << "trunk";
    EXPECT_EQ(pixelAt(view, cam, {3, 2.5, 0}), kYellow) << "selected crown";
    EXPECT_EQ(pixelAt(view, cam, {3, 0.5, 0}), kYellow) << "selected trunk";
    // Nothing stands above the tip (4.5) or beside the crown's rim (radius 1).
    EXPECT_NE(pixelAt(view, cam, {3, 5.0, 0}), kYellow);
    EXPECT_NE(pixelAt(view, cam, {-4.3, 1.3, 0}), kCrownGreen);
}

// A train standing still (speed 0) on the near side of a level ring, seen from above: the lamp
// on its roof, 0.2 ahead of the train and 0.75 above it, brightens to half red and dims again.
TEST(Train, RoofLampPulsesRedTwoStepsAFrame) {
    CapturedView view(640, 480);
    buildRing(view, circle(8, 6.0f, 1.0f));
    view.physicsOn = 0, view.trainSpeed = 0.0f, view.trainRunning = 1, view.trainU = 0.75f, view.showPoints = 0;
    const LookAt cam = tiltFreeView(view, 40, 20);
    const Vec p = toVec(pointAt(view.segments, view.numPoints, 0.75));
    const Vec ahead = toVec(pointAt(view.segments, view.numPoints, 0.7501)) - p;
    const Vec lamp = p + Vec{0, 0.75, 0} + 0.2 * unit(ahead);
    int redAtFrame55 = 0;
    for (int frame = 1; frame <= 60; ++frame) {
        drawFrame(view);
        const Rgb seen = pixelAt(view, cam, lamp);
        EXPECT_EQ(seen.g + seen.b, 0) << "frame " << frame;
        if (frame <= 50) {  // up for 50 steps, down for 50
            EXPECT_NEAR(seen.r, kLampStep * std::min(2 * frame, 100 - 2 * frame), kLampTolerance) << "frame " << frame;
        }
        if (frame == 55) redAtFrame55 = seen.r;
    }
    EXPECT_GT(pixelAt(view, cam, lamp).r, redAtFrame55 + kLampStep) << "rising again after it went dark";
}

}  // namespace
