// Markers, trees and the train's lamp as drawn into a real GL context: the selected marker flat
// yellow, the light marker white, trees green on brown (the selected one yellow), and the lamp's
// red rising and falling from frame to frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const Rgb kYellow = rgb(1, 1, 0);
const Rgb kGuideBlue = rgb(0, 0, 1);
const Rgb kWhite = rgb(1, 1, 1);
const Rgb kCrownGreen = rgb(0, 1, 0);
const Rgb kTrunkBrown = {79, 64, 11};
constexpr double kMarkerHalf = 0.125;  // half the edge of a control-point marker
constexpr double kLampStepPerFrame = 2 * 0.01 * 255;  // two calls per frame, in 8-bit red

TEST(Markers, SelectedPointIsFlatYellowAndItsPartnerUnlitInItsOwnColour) {
    CapturedView view(kWidth, kHeight);
    setRing(view, {{{2, 1, 0}}, {{-2, 1, 0}}}, 4.0f);
    view.selectedPoint = 0;
    view.focusSelectedView = 0;  // keep the free view
    const LookAt cam = tiltFreeView(view, 40, 20);
    showView(view);
    // Lit, the selected cube is the same yellow on its top and on its front.
    EXPECT_EQ(pixelAt(view, cam, 2, 1 + kMarkerHalf, 0), kYellow);
    EXPECT_EQ(pixelAt(view, cam, 2, 1, kMarkerHalf), kYellow);
    // Its partner 4 above is drawn before lighting comes back: its plain blue.
    EXPECT_EQ(pixelAt(view, cam, 2, 5, kMarkerHalf), kGuideBlue);
    // The other point is lit: its front, turned from the light overhead, is darker than pure red.
    const Rgb other = pixelAt(view, cam, -2, 1, kMarkerHalf);
    EXPECT_LT(other.r, 200);
    EXPECT_GT(other.r, other.g + 20);
}

TEST(Markers, DropLineTakesThePartnersColourAndHidingMarkersRemovesEverything) {
    CapturedView view(kWidth, kHeight);
    setRing(view, {{{2, 3, 0}}}, 4.0f);
    view.lightingOn = 0;
    view.lightPos[0] = -2.0f;
    view.lightPos[1] = 2.0f;
    view.lightPos[2] = 1.0f;
    const LookAt cam = tiltFreeView(view, 40, 20);
    showView(view);
    EXPECT_TRUE(colourNear(view, cam, 2, 1.5, 0, kGuideBlue)) << "drop line";
    EXPECT_EQ(pixelAt(view, cam, -2, 2, 1.25), kWhite) << "light marker";

    view.showPoints = 0;
    drawFrame(view);
    EXPECT_FALSE(colourNear(view, cam, 2, 1.5, 0, kGuideBlue)) << "drop line";
    EXPECT_EQ(view.count(kWhite), 0) << "light marker";
    EXPECT_EQ(view.count(rgb(1, 0, 0)), 0) << "track point";
}

// Seen from the side at ground level: a tree at x = -3 and, selected, one at x = 3 whose record
// says y = 10 (trees always stand on the ground).
TEST(Trees, CrownIsGreenTrunkBrownAndTheSelectedTreeYellow) {
    CapturedView view(kWidth, kHeight);
    view.trees[0] = new ControlPoint(-3, 0, 0, 1.0f, 4.5f, 0, 0, 0);
    view.trees[1] = new ControlPoint(3, 10, 0, 1.0f, 4.5f, 0, 0, 0);
    view.numTrees = 2;
    view.selectedTree = 1;
    view.lightingOn = 0;
    view.camDistance = 15;
    const LookAt cam = {{0, 0, 15}, {0, 0, 0}, {0, 1, 0}};
    showView(view);
    EXPECT_EQ(pixelAt(view, cam, -3, 2.5, 0), kCrownGreen) << "crown";
    EXPECT_EQ(pixelAt(view, cam, -3, 0.5, 0), kTrunkBrown) << "trunk";
    EXPECT_EQ(pixelAt(view, cam, 3, 2.5, 0), kYellow) << "selected crown";
    EXPECT_EQ(pixelAt(view, cam, 3, 0.5, 0), kYellow) << "selected trunk";
    // Nothing stands above the tip (4.5) or beside the crown's rim (radius 1).
    EXPECT_NE(pixelAt(view, cam, 3, 5.0, 0), kYellow);
    EXPECT_NE(pixelAt(view, cam, -4.3, 1.3, 0), kCrownGreen);
}

// A train standing still (speed 0) on the near side of a ring, seen from above: the lamp on its
// roof brightens by two steps a frame (the shadow pass draws the train too) to about half red,
// then dims again.
TEST(Train, RoofLampPulsesRedTwoStepsAFrame) {
    CapturedView view(kWidth, kHeight);
    buildRing(view, circle(8, 6.0f, 1.0f));
    view.physicsOn = 0;
    view.trainSpeed = 0.0f;
    view.trainRunning = 1;
    view.trainU = 0.75f;
    view.showPoints = 0;
    const LookAt cam = tiltFreeView(view, 40, 20);
    // Lamp centre: 0.2 ahead of the train and 0.75 above it (the guide ring is straight above).
    const Point3 P = pointAt(view.segments, view.numPoints, 0.75);
    const Point3 ahead = pointAt(view.segments, view.numPoints, 0.7501);
    const double dx = ahead[0] - P[0], dz = ahead[2] - P[2], length = std::hypot(dx, dz);
    const double lamp[3] = {P[0] + 0.2 * dx / length, P[1] + 0.75, P[2] + 0.2 * dz / length};

    showView(view);
    std::vector<Rgb> seen;
    for (int frame = 1; frame <= 60; ++frame) {
        if (frame > 1) drawFrame(view);
        seen.push_back(pixelAt(view, cam, lamp[0], lamp[1], lamp[2]));
    }
    for (int frame = 1; frame <= 20; ++frame) {
        EXPECT_NEAR(seen[frame - 1].r, frame * kLampStepPerFrame, 1.5) << "frame " << frame;
        EXPECT_EQ(seen[frame - 1].g + seen[frame - 1].b, 0) << "frame " << frame;
    }
    // Where the float steps meet the turning points decides between neighbouring frames.
    const auto redder = [](const Rgb& a, const Rgb& b) { return a.r < b.r; };
    const auto brightest = std::max_element(seen.begin(), seen.end(), redder);
    EXPECT_NEAR(brightest->r, 0.5 * 255, 3);
    EXPECT_NEAR(brightest - seen.begin() + 1, 25.5, 1) << "frame of the peak";
    EXPECT_LE(std::min_element(seen.begin() + 45, seen.begin() + 55, redder)->r, 3) << "dark again";
    EXPECT_GT(seen[59].r, seen[54].r) << "and rising again";
}

}  // namespace
