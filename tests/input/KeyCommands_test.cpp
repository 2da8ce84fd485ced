// The key commands driven through the key poll: latches and repeats, the blocks, every limit,
// the clear, defaults and report keys, the camera keys and what the handler returns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "input/KeyCommands.h"
#include "tests/input/InputDriver.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr float kStepRounding = 1e-3f;    // a value stepped many times by 0.5 or 0.1 in float
constexpr double kUnitSightStep = 0.57735;  // 1 / sqrt(3): one step along the default sight line
constexpr double kPrintedDigits = 1e-5;     // the precision of the step quoted to 5 places

class KeyCommands : public testing::Test {
protected:
    TrackView view{0, 0, 800, 600};
    InputDriver input{view};
};

TEST_F(KeyCommands, LatchedKeyActsOncePerPressRepeatKeyOnEveryEvent) {
    input.press('4', 10);
    EXPECT_EQ(view.lightingOn, 0);
    input.press('4', 3);
    EXPECT_EQ(view.lightingOn, 1);
    input.press('2', 5);  // flipped five times
    EXPECT_EQ(view.showPoints, 0);
    input.press('2', 2);
    EXPECT_EQ(view.showPoints, 0);
}

TEST_F(KeyCommands, SelectedPointHoldsBackBlockTwoUntilItIsCleared) {
    buildRing(view, groundSquare());
    view.selectedPoint2 = 2;
    for (int key : {FL_F + 1, FL_F + 2, int('C'), int('2'), int('3'), int('B'), int(' ')}) input.hold(key);
    input.hold('4');  // block 1 still runs
    input.idle();
    EXPECT_EQ(input.promptCalls(), 0);
    EXPECT_EQ(view.numPoints, 4);
    EXPECT_EQ(view.showPoints, 1);
    EXPECT_EQ(view.drawRails, 0);
    EXPECT_EQ(view.useBSpline, 1);
    EXPECT_EQ(view.trainRunning, 0);
    EXPECT_EQ(view.lightingOn, 0);
    // A selected tree does not hold block 2 back; the held latched keys act at once.
    view.selectedPoint2 = -1;
    view.selectedTree = 0;
    input.release('C');
    input.idle();
    EXPECT_EQ(input.promptCalls(), 2);  // load and save asked for a name (and were cancelled)
    EXPECT_EQ(view.showPoints, 0);
    EXPECT_EQ(view.drawRails, 1);
    EXPECT_EQ(view.useBSpline, 0);
    EXPECT_EQ(view.trainRunning, 1);
}

TEST_F(KeyCommands, IntegerLimitsAreTestedBeforeTheStep) {
    struct Case {
        int key;
        int* field;
        int start, expected;
    } cases[] = {{'-', &view.tieSpacing, 50, 50}, {'-', &view.tieSpacing, 49, 50}, {'+', &view.tieSpacing, 1, 1},
                 {'+', &view.tieSpacing, 2, 1},   {'[', &view.supportEvery, 1, 1},  {'[', &view.supportEvery, 3, 1},
                 {']', &view.supportEvery, 50, 50}, {']', &view.supportEvery, 48, 50}};
    for (const Case& c : cases) {
        *c.field = c.start;
        input.press(c.key, 5);
        EXPECT_EQ(*c.field, c.expected) << "key " << char(c.key) << " from " << c.start;
    }
}

TEST_F(KeyCommands, FloatLimitsStopOneStepPastTheirBound) {
    buildRing(view, circle(6, 5.0f, 10.0f));
    input.press(FL_Page_Up, 200);
    EXPECT_NEAR(view.gravity, -100.3f, kStepRounding);
    // Every gravity step rebuilds: the energy follows the new gravity at the highest point.
    EXPECT_NEAR(view.totalEnergy, 100.0f * 0.5f * 16.0f + 100.0f * 100.3f * view.maxHeight, 1.0f);
    view.gravity = -5.2f;
    input.press(FL_Page_Down, 5);
    EXPECT_NEAR(view.gravity, -4.7f, kStepRounding);

    view.totalEnergy = 199800.0f;
    input.press(FL_Up, 5);
    EXPECT_EQ(view.totalEnergy, 200300.0f);
    EXPECT_EQ(view.trainSpeed, kDefaultTrainSpeed);  // physics on: the energy moves, not the speed
    view.totalEnergy = 1200.0f;
    input.press(FL_Down, 5);
    EXPECT_EQ(view.totalEnergy, 700.0f);

    view.physicsOn = 0;
    view.trainSpeed = 99.8f;
    input.press(FL_Up, 5);
    EXPECT_NEAR(view.trainSpeed, 100.3f, kStepRounding);
    EXPECT_EQ(view.totalEnergy, 700.0f);
    view.trainSpeed = 1.2f;
    input.press(FL_Down, 5);
    EXPECT_NEAR(view.trainSpeed, 0.7f, kStepRounding);
    view.selectedPoint = 0;  // the speed keys belong to block 2
    input.press(FL_Up, 5);
    EXPECT_NEAR(view.trainSpeed, 0.7f, kStepRounding);
}

TEST_F(KeyCommands, ClearResetsExactlyItsFieldsAndKeepsTheRest) {
    buildRing(view, circle(5, 4.0f, 3.0f));
    view.trees[view.numTrees++] = new ControlPoint(1, 0, 1, 1, 4.5f, 0, 0, 0);
    const TrackView fresh(0, 0, 10, 10);
    // The fields the clear resets; each must come back to a fresh view's start value.
    using V = TrackView;
    int V::*ints[] = {&V::selectedPoint, &V::selectedPoint2, &V::selectedTree, &V::lightMoveMode, &V::prevMouseX,
                      &V::prevMouseY, &V::mouseX, &V::mouseY, &V::trainRunning, &V::cameraMode, &V::useBSpline,
                      &V::showPoints, &V::drawRails, &V::lightingOn, &V::tieSpacing, &V::supportEvery,
                      &V::beaconFalling, &V::physicsOn, &V::focusSelectedView, &V::reservedSetting,
                      &V::focusViewKeyLatch, &V::rebuildKeyLatch, &V::physicsKeyLatch, &V::lightingKeyLatch,
                      &V::reportKeyLatch, &V::loadKeyLatch, &V::saveKeyLatch, &V::cameraModeKeyLatch,
                      &V::basisKeyLatch, &V::trainRunKeyLatch, &V::addPointKeyLatch, &V::nextPointKeyLatch,
                      &V::nextPoint2KeyLatch, &V::nextTreeKeyLatch, &V::lightMoveKeyLatch};
    float V::*floats[] = {&V::trainSpeed, &V::beaconLevel, &V::gravity, &V::trainMass, &V::focusViewOffset};
    double V::*doubles[] = {&V::camEyeX, &V::camEyeY, &V::camDistance, &V::camTargetX, &V::camTargetY,
                            &V::camTargetZ, &V::fieldOfView};
    for (auto field : ints) view.*field = 2;
    for (auto field : floats) view.*field = 0.25f;
    for (auto field : doubles) view.*field = 4.0;
    view.lightPos[1] = 30;
    // The fields it keeps.
    view.defaultsKeyLatch = view.addTreeKeyLatch = 0;
    view.trainU = 0.4f, view.trainPos[1] = 2.5f, view.totalEnergy = 1234;
    const float maxHeight = view.maxHeight, trackLength = view.trackLength, sample = view.sampleDist[3];

    view.clearAndReset();

    EXPECT_EQ(view.numPoints + view.numPoints2 + view.numTrees, 0);
    EXPECT_EQ(view.points[0], nullptr);
    EXPECT_EQ(view.trees[0], nullptr);
    for (auto field : ints) EXPECT_EQ(view.*field, fresh.*field);
    for (auto field : floats) EXPECT_EQ(view.*field, fresh.*field);
    for (auto field : doubles) EXPECT_EQ(view.*field, fresh.*field);
    EXPECT_EQ(view.lightPos[1], fresh.lightPos[1]);
    EXPECT_EQ(view.defaultsKeyLatch + view.addTreeKeyLatch, 0);
    EXPECT_EQ(view.trainU, 0.4f);
    EXPECT_EQ(view.trainPos[1], 2.5f);
    EXPECT_EQ(view.totalEnergy, 1234.0f);
    EXPECT_EQ(view.maxHeight, maxHeight);
    EXPECT_EQ(view.trackLength, trackLength);
    EXPECT_EQ(view.sampleDist[3], sample);
}

TEST_F(KeyCommands, DefaultsAndRebuildKeysRecomputeTheEnergy) {
    buildRing(view, circle(6, 5.0f, 10.0f));
    view.trainSpeed = 50.0f;
    view.gravity = -60.0f;
    view.totalEnergy = 5.0f;
    input.press('D');
    EXPECT_EQ(view.trainSpeed, kDefaultTrainSpeed);
    EXPECT_EQ(view.gravity, kDefaultGravity);
    const float energy = 800.0f + 100.0f * 20.8f * view.maxHeight;
    EXPECT_NEAR(view.totalEnergy, energy, 0.5f);
    view.totalEnergy = 5.0f;
    input.press(FL_F + 4);
    EXPECT_NEAR(view.totalEnergy, energy, 0.5f);
    input.press(FL_F + 3);
    EXPECT_EQ(view.physicsOn, 0);
    view.physicsOn = 2;  // a value a track file could hold: the flip takes it to 0
    input.press(FL_F + 3);
    EXPECT_EQ(view.physicsOn, 0);
}

TEST_F(KeyCommands, BasisKeyRebuildsTrackOneAndLeavesTheGuideRing) {
    buildRing(view, groundSquare());
    float guideBefore[3][4];
    view.segments2[0]->getCoefficients(guideBefore[0], guideBefore[1], guideBefore[2]);
    input.press('B');
    EXPECT_EQ(view.useBSpline, 0);
    Point3 start;
    view.segments[1]->evaluate(&start[0], &start[1], &start[2], 0.0f);
    EXPECT_EQ(start, groundSquare()[1]);  // Catmull-Rom passes through its points
    float guideAfter[3][4];
    view.segments2[0]->getCoefficients(guideAfter[0], guideAfter[1], guideAfter[2]);
    EXPECT_EQ(0, std::memcmp(guideBefore, guideAfter, sizeof guideBefore));
}

TEST_F(KeyCommands, OneCyclesSixViewsOnlyWhileTheTrainRunsOrFlipsTheLookDownView) {
    input.press('1');
    EXPECT_EQ(view.cameraMode, 0);
    view.trainRunning = 1;
    for (int expected : {1, 2, 3, 4, 5, 0, 1}) {
        input.press('1', 3);
        EXPECT_EQ(view.cameraMode, expected);
    }
    buildRing(view, groundSquare());
    view.selectedPoint = 0;
    input.press('1');
    EXPECT_EQ(view.focusSelectedView, 0);
    EXPECT_EQ(view.cameraMode, 1);
}

TEST_F(KeyCommands, SpaceStartsAndStopsTheTrainAtTheStartOfSegmentZero) {
    buildRing(view, groundSquare());
    view.numPoints = view.numPoints2 = 2;  // two points: nothing happens
    input.press(' ');
    EXPECT_EQ(view.trainRunning, 0);
    view.numPoints = view.numPoints2 = 4;
    view.trainU = 0.6f;
    input.press(' ');
    EXPECT_EQ(view.trainRunning, 1);
    EXPECT_EQ(view.trainU, 0.0f);
    const Point3 start = pointAt(view.segments, 4, 0.0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(view.trainPos[k], start[k]);
    input.press(' ');
    EXPECT_EQ(view.trainRunning, 0);
}

TEST_F(KeyCommands, AAndZMoveEyeAndLookAtPointTogetherOrTheLookDownHeight) {
    input.press('A');
    for (double value : {view.camEyeX, view.camEyeY, view.camDistance}) EXPECT_NEAR(value, 35.0 - kUnitSightStep, kPrintedDigits);
    for (double value : {view.camTargetX, view.camTargetY, view.camTargetZ}) EXPECT_NEAR(value, -kUnitSightStep, kPrintedDigits);
    input.press('Z', 2);
    EXPECT_NEAR(view.camDistance, 35.0 + kUnitSightStep, kPrintedDigits);
    EXPECT_NEAR(view.camTargetX, kUnitSightStep, kPrintedDigits);

    buildRing(view, groundSquare());
    view.selectedPoint = 1;
    input.press('A');
    EXPECT_NEAR(view.focusViewOffset, 14.9f, kStepRounding);
    view.focusViewOffset = 2.05f;
    input.press('A', 5);
    EXPECT_NEAR(view.focusViewOffset, 1.95f, kStepRounding);
    view.focusViewOffset = 49.95f;
    input.press('Z', 5);
    EXPECT_NEAR(view.focusViewOffset, 50.05f, kStepRounding);
    EXPECT_NEAR(view.camDistance, 35.0 + kUnitSightStep, kPrintedDigits);  // the free camera stayed
}

TEST_F(KeyCommands, ReportPrintsNineLinesByteForByte) {
    view.trainPos[0] = 1.5f, view.trainPos[1] = 2.25f, view.trainPos[2] = -3.0f;
    view.gravity = -20.5f;
    view.maxHeight = 7.25f;
    view.totalEnergy = 12345.5f;
    testing::internal::CaptureStdout();
    input.press(FL_F + 5, 4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\n"
              "train position: (1.500000,2.250000,-3.000000)\n"
              "train speed: 3.000000\n"
              "gravitational acceleration constant: -20.500000\n"
              "maximum track height: 7.250000\n"
              "train's total energy: 12345.500000\n"
              "train's kinetic energy: 450.000000\n"     // 100 x 3 x 3 / 2
              "train's potential energy: 4612.500000\n"  // 20.5 x 100 x 2.25
              "\n");
}

TEST_F(KeyCommands, HandlerConsumesMouseShowAndFocusButNeverKeys) {
    EXPECT_EQ(input.send(FL_KEYBOARD, 5, 5), 0);
    EXPECT_EQ(input.send(FL_KEYUP, 5, 5), 0);
    EXPECT_EQ(input.send(FL_SHORTCUT, 5, 5), 0);
    EXPECT_EQ(input.send(FL_MOVE, 5, 5), 0);
    EXPECT_EQ(input.send(FL_FOCUS, 5, 5), 1);  // accepting the focus brings the key releases
    EXPECT_EQ(input.send(FL_UNFOCUS, 5, 5), 1);
    EXPECT_EQ(input.send(FL_PUSH, 5, 5, 1), 1);
    EXPECT_EQ(input.send(FL_DRAG, 6, 5, 1), 1);
    EXPECT_EQ(input.send(FL_RELEASE, 6, 5, 1), 1);
}

}  // namespace
