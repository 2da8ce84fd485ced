// The key commands driven through the key poll: latches and repeats, the blocks, the limits, the
// clear, defaults and report keys, the camera keys and what the handler returns.
#include <cstring>
#include <tuple>

#include "input/KeyCommands.h"
#include "input/TrackFile.h"
#include "tests/input/InputDriver.h"

namespace {

constexpr float kStepRounding = 1e-3f;      // a value stepped many times by 0.5 or 0.1 in float
constexpr float kEnergyRounding = 0.5f;     // energies of some ten thousand, summed in float
constexpr double kUnitSightStep = 0.57735;  // 1 / sqrt(3): one step along the default sight line
constexpr double kPrintedDigits = 1e-5;     // the precision of the step quoted to 5 places
using V = TrackView;
class KeyCommands : public DrivenView {};

// A flip takes a value only a file could hold to 0 (F3) or to 1 ('3'); held steps test the bound
// before stepping and never cut a step short, and the arrows step the energy while physics is on.
TEST_F(KeyCommands, LatchedKeysActOncePerPressRepeatKeysOnEveryEventUpToTheirBound) {
    struct { int key, events; int V::*field; int start, expected; } ints[] = {
        {'4', 10, &V::lightingOn, 1, 0},   {'4', 3, &V::lightingOn, 0, 1},     {'2', 5, &V::showPoints, 1, 0},
        {'2', 2, &V::showPoints, 0, 0},    {FL_F + 3, 1, &V::physicsOn, 2, 0}, {'3', 1, &V::drawRails, 2, 1},
        {'-', 5, &V::tieSpacing, 49, 50},  {'+', 5, &V::tieSpacing, 2, 1},    {'[', 5, &V::supportEvery, 3, 1},
        {']', 5, &V::supportEvery, 48, 50}};
    for (const auto& c : ints) {
        view.*c.field = c.start;
        press(c.key, c.events);
        EXPECT_EQ(view.*c.field, c.expected) << "key " << c.key << " from " << c.start;
    }
    buildRing(view, circle(6, 5.0f, 10.0f));
    struct { int key, physics; float V::*field; float start, expected; } floats[] = {
        {FL_Page_Up, 1, &V::gravity, -20.8f, -100.3f}, {FL_Page_Down, 1, &V::gravity, -5.2f, -4.7f},
        {FL_Up, 1, &V::totalEnergy, 199800, 200300},   {FL_Down, 1, &V::totalEnergy, 1200, 700},
        {FL_Up, 1, &V::trainSpeed, 3, 3},              {FL_Up, 0, &V::totalEnergy, 5000, 5000},
        {FL_Up, 0, &V::trainSpeed, 99.8f, 100.3f},     {FL_Down, 0, &V::trainSpeed, 1.2f, 0.7f}};
    for (const auto& c : floats) {
        view.physicsOn = c.physics;
        view.*c.field = c.start;
        press(c.key, 200);
        EXPECT_NEAR(view.*c.field, c.expected, kStepRounding) << "key " << c.key << " from " << c.start;
    }
}

TEST_F(KeyCommands, SelectedPointHoldsBackBlockTwoButNeitherBlockOneNorASelectedTreeDoes) {
    buildRing(view, groundSquare());
    view.physicsOn = 0;  // the arrows step the speed, a block 2 key
    view.lightingOn = 0;
    const std::vector<unsigned char> before = encodeTrack(view);  // only '4' of block 1 acts
    view.lightingOn = 1;
    keys = {FL_F + 1, FL_F + 2, 'C', FL_Up, '2', '3', 'B', ' ', '4'};
    for (int* selection : {&view.selectedPoint, &view.selectedPoint2}) {
        *selection = 2;
        idle();
        ASSERT_EQ(encodeTrack(view), before);  // stop here: a clear would have freed the track
        *selection = -1;
    }
    EXPECT_EQ(prompts + view.trainRunning, 0);

    view.selectedTree = 0, view.trainU = 0.6f;
    const CurveSegment guide = *view.segments2[1];
    keys.erase('C');
    idle();  // the held latched keys act at once; load and save ask (and are cancelled)
    EXPECT_EQ((std::vector<int>{prompts, view.showPoints, view.drawRails, view.useBSpline, view.trainRunning}),
              (std::vector<int>{2, 0, 1, 0, 1}));
    EXPECT_EQ(view.trainSpeed, TrackState().trainSpeed + 0.5f);
    EXPECT_EQ(view.trainU, 0.0f);  // space starts the train at the start
    // 'B' rebuilt track 1 in Catmull-Rom, which passes through its points, and left the guide ring.
    EXPECT_EQ(pointAt(view.segments, 4, 0.25), groundSquare()[1]);
    EXPECT_EQ(std::memcmp(&guide, view.segments2[1], sizeof guide), 0);
}

TEST_F(KeyCommands, ClearResetsExactlyItsFieldsAndKeepsTheRest) {
    buildRing(view, circle(5, 4.0f, 3.0f));
    view.trees[view.numTrees++] = new ControlPoint(1, 0, 1, 1, 4.5f, 0, 0, 0);
    const TrackView fresh(0, 0, 10, 10);
    // The fields the clear resets, each to a fresh view's start value, and the fields it keeps
    // (a trainU outside [0, 1) also shows that the train is not placed).
    const std::tuple reset{&V::selectedPoint, &V::selectedPoint2, &V::selectedTree, &V::lightMoveMode, &V::prevMouseX,
                           &V::prevMouseY, &V::mouseX, &V::mouseY, &V::trainRunning, &V::cameraMode, &V::useBSpline,
                           &V::showPoints, &V::drawRails, &V::lightingOn, &V::tieSpacing, &V::supportEvery,
                           &V::beaconFalling, &V::physicsOn, &V::focusSelectedView, &V::reservedSetting,
                           &V::focusViewKeyLatch, &V::rebuildKeyLatch, &V::physicsKeyLatch, &V::lightingKeyLatch,
                           &V::reportKeyLatch, &V::loadKeyLatch, &V::saveKeyLatch, &V::cameraModeKeyLatch,
                           &V::basisKeyLatch, &V::trainRunKeyLatch, &V::addPointKeyLatch, &V::nextPointKeyLatch,
                           &V::nextPoint2KeyLatch, &V::nextTreeKeyLatch, &V::lightMoveKeyLatch, &V::trainSpeed,
                           &V::beaconLevel, &V::gravity, &V::trainMass, &V::focusViewOffset, &V::camEyeX, &V::camEyeY,
                           &V::camDistance, &V::camTargetX, &V::camTargetY, &V::camTargetZ, &V::fieldOfView};
    const std::tuple kept{&V::defaultsKeyLatch, &V::addTreeKeyLatch, &V::trainU, &V::totalEnergy, &V::maxHeight,
                          &V::trackLength};
    std::apply([&](auto... field) { ((view.*field = 2), ...); }, reset);
    std::apply([&](auto... field) { ((view.*field = 7), ...); }, kept);
    for (float& coordinate : view.lightPos) coordinate = 30.0f;
    view.arcBall.startX = 0.5f;

    view.clearAndReset();

    const auto expectEqual = [](auto actual, auto expected) { EXPECT_EQ(actual, expected); };
    std::apply([&](auto... field) { (expectEqual(view.*field, fresh.*field), ...); }, reset);
    std::apply([&](auto... field) { (expectEqual(view.*field, 7), ...); }, kept);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(view.lightPos[k], fresh.lightPos[k]);
    EXPECT_EQ(view.numPoints + view.numPoints2 + view.numTrees, 0);
    EXPECT_EQ(view.arcBall.startX, 0.5f);
}

TEST_F(KeyCommands, DefaultsRebuildAndGravityKeysRecomputeTheEnergy) {
    buildRing(view, circle(6, 5.0f, 10.0f));
    const auto builtEnergy = [&](float gravity) { return 800.0f - 100.0f * gravity * view.maxHeight; };
    view.trainSpeed = 50.0f, view.gravity = -60.0f, view.totalEnergy = 5.0f;
    press('D');
    EXPECT_EQ(view.trainSpeed, TrackState().trainSpeed);
    EXPECT_EQ(view.gravity, TrackState().gravity);
    EXPECT_NEAR(view.totalEnergy, builtEnergy(TrackState().gravity), kEnergyRounding);
    view.totalEnergy = 5.0f;
    press(FL_F + 4);
    EXPECT_NEAR(view.totalEnergy, builtEnergy(TrackState().gravity), kEnergyRounding);
    press(FL_Page_Up);
    EXPECT_NEAR(view.totalEnergy, builtEnergy(TrackState().gravity - 0.5f), kEnergyRounding);
}

TEST_F(KeyCommands, SpaceStartsTheTrainOnlyOnThreePointsAndOneCyclesSixViewsOnlyWhileItRuns) {
    setRing(view, circle(2, 5.0f, 1.0f));
    press(' ');
    press('1');
    EXPECT_EQ(view.trainRunning + view.cameraMode, 0);
    buildRing(view, circle(3, 5.0f, 1.0f));
    press(' ');
    for (int expected : {1, 2, 3, 4, 5, 0, 1}) {
        press('1', 3);
        EXPECT_EQ(view.cameraMode, expected);
    }
    view.selectedPoint = 0;  // now '1' flips the look-down view instead
    press('1');
    EXPECT_EQ((std::pair{view.focusSelectedView, view.cameraMode}), (std::pair{0, 1}));
}

TEST_F(KeyCommands, AAndZMoveEyeAndLookAtPointTogetherOrTheLookDownHeight) {
    press('A');
    for (double value : {view.camEyeX, view.camEyeY, view.camDistance}) EXPECT_NEAR(value, 35.0 - kUnitSightStep, kPrintedDigits);
    for (double value : {view.camTargetX, view.camTargetY, view.camTargetZ}) EXPECT_NEAR(value, -kUnitSightStep, kPrintedDigits);
    press('Z', 2);
    EXPECT_NEAR(view.camDistance, 35.0 + kUnitSightStep, kPrintedDigits);
    EXPECT_NEAR(view.camTargetX, kUnitSightStep, kPrintedDigits);
    view.selectedPoint = 1;  // the look-down view: 'A' lowers it, 'Z' lifts it, each up to one step past 2 or 50
    for (auto [key, start, expected] : {std::tuple{'A', 2.05f, 1.95f}, {'Z', 49.95f, 50.05f}}) {
        view.focusViewOffset = start;
        press(key, 5);
        EXPECT_NEAR(view.focusViewOffset, expected, kStepRounding) << key;
    }
    EXPECT_NEAR(view.camDistance, 35.0 + kUnitSightStep, kPrintedDigits);  // the free camera stayed
}

TEST_F(KeyCommands, ReportPrintsNineLinesByteForByte) {
    view.trainPos[0] = 1.5f, view.trainPos[1] = 2.25f, view.trainPos[2] = -3.0f;
    view.gravity = -20.5f, view.maxHeight = 7.25f, view.totalEnergy = 12345.5f;
    testing::internal::CaptureStdout();
    press(FL_F + 5, 4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\ntrain position: (1.500000,2.250000,-3.000000)\ntrain speed: 3.000000\n"
              "gravitational acceleration constant: -20.500000\nmaximum track height: 7.250000\n"
              "train's total energy: 12345.500000\n"
              "train's kinetic energy: 450.000000\n"        // 100 x 3 x 3 / 2
              "train's potential energy: 4612.500000\n\n");  // 20.5 x 100 x 2.25
}

TEST_F(KeyCommands, HandlerConsumesMouseAndFocusEventsButNeverKeys) {
    for (auto [event, consumed] : {std::pair{FL_KEYBOARD, 0}, {FL_KEYUP, 0}, {FL_SHORTCUT, 0}, {FL_MOVE, 0},
                                   {FL_FOCUS, 1}, {FL_UNFOCUS, 1}, {FL_PUSH, 1}, {FL_DRAG, 1}, {FL_RELEASE, 1}})
        EXPECT_EQ(send(event, 5, 5, 1), consumed) << "event " << event;
}

}  // namespace
