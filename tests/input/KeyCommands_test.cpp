// The key commands driven through the key poll: one table of latches, repeats, limits, rebuilds,
// selections and block gating, then the train keys on a short track, the clear and the report.
#include <algorithm>
#include <cmath>
#include <tuple>
#include <type_traits>

#include "tests/input/InputDriver.h"

namespace {

constexpr double kRelativeRounding = 1e-4;  // float steps and sums, relative to the value
constexpr double kSight = 0.57735;          // 1 / sqrt(3): one step along the default sight line
constexpr double kRingEnergy = 800 + 100 * 20.8 * 10;  // 0.5 m 4^2 - m g h on a flat ring at height 10
using V = TrackView;
class KeyCommands : public DrivenView {};

// Reads a number field of the view, after writing `value` to it when one is given.
template <auto field>
double access(V& view, const double* value) {
    if (value) view.*field = static_cast<std::remove_reference_t<decltype(view.*field)>>(*value);
    return view.*field;
}

enum Selected { kNone, kPoint, kGuidePoint, kTree };

// Each row holds a key for some handler calls on a running six-point ring. Flips take a value
// only a file could hold (2) to 0 (F3) or 1 ('3'); a bound is tested before the step and a step
// is never cut short; the arrows step the energy while physics is on, else the speed.
TEST_F(KeyCommands, EachKeyActsOncePerPressOrOnEveryEventWithinItsBoundsAndItsBlock) {
    buildRing(view, circle(6, 5.0f, 10.0f));
    press('N');
    const struct { int key, events; Selected selected; int physics; double (*field)(V&, const double*); double start, expected; } rows[] = {
        {'4', 10, kNone, 1, access<&V::lightingOn>, 1, 0}, {'2', 2, kNone, 1, access<&V::showPoints>, 0, 0},
        {'2', 1, kPoint, 1, access<&V::showPoints>, 1, 1}, {'3', 1, kNone, 1, access<&V::drawRails>, 2, 1},
        {FL_F + 3, 4, kNone, 1, access<&V::physicsOn>, 2, 0}, {'B', 2, kTree, 1, access<&V::useBSpline>, 1, 0},
        {'-', 5, kNone, 1, access<&V::tieSpacing>, 49, 50}, {'+', 5, kNone, 1, access<&V::tieSpacing>, 2, 1},
        {'[', 5, kNone, 1, access<&V::supportEvery>, 3, 1}, {']', 5, kNone, 1, access<&V::supportEvery>, 48, 50},
        {FL_Page_Up, 200, kNone, 1, access<&V::gravity>, -20.8, -100.3},
        {FL_Page_Down, 200, kNone, 1, access<&V::gravity>, -5.2, -4.7},
        {FL_Up, 200, kNone, 1, access<&V::totalEnergy>, 199800, 200300},
        {FL_Down, 200, kNone, 1, access<&V::totalEnergy>, 1200, 700},
        {FL_Up, 1, kNone, 1, access<&V::trainSpeed>, 3, 3}, {FL_Up, 1, kNone, 0, access<&V::totalEnergy>, 5000, 5000},
        {FL_Up, 200, kNone, 0, access<&V::trainSpeed>, 99.8, 100.3},
        {FL_Down, 200, kNone, 0, access<&V::trainSpeed>, 1.2, 0.7}, {'D', 2, kPoint, 1, access<&V::trainSpeed>, 50, 3},
        {'D', 1, kNone, 1, access<&V::gravity>, -60, -20.8},
        {'D', 1, kNone, 1, access<&V::totalEnergy>, 5, kRingEnergy},
        {FL_F + 4, 1, kNone, 1, access<&V::totalEnergy>, 5, kRingEnergy},
        {FL_Page_Up, 1, kNone, 1, access<&V::totalEnergy>, 5, kRingEnergy + 100 * 0.5 * 10},
        {' ', 2, kNone, 1, access<&V::trainRunning>, 1, 0}, {' ', 1, kGuidePoint, 1, access<&V::trainRunning>, 1, 1},
        {'1', 3, kNone, 1, access<&V::cameraMode>, 2, 3}, {'1', 1, kNone, 1, access<&V::cameraMode>, 5, 0},
        {'1', 2, kPoint, 1, access<&V::focusSelectedView>, 1, 0},
        {'A', 5, kPoint, 1, access<&V::focusViewOffset>, 2.05, 1.95},
        {'Z', 5, kGuidePoint, 1, access<&V::focusViewOffset>, 49.95, 50.05},
        {'A', 1, kNone, 1, access<&V::camEyeX>, 35, 35 - kSight},
        {'Z', 2, kNone, 1, access<&V::camTargetZ>, -kSight, kSight},
        {'Q', 1, kNone, 1, access<&V::selectedPoint>, 4, 5}, {'Q', 1, kNone, 1, access<&V::selectedPoint>, 5, -1},
        {'Q', 1, kGuidePoint, 1, access<&V::selectedPoint2>, 2, -1}, {'Q', 1, kTree, 1, access<&V::selectedTree>, 0, 0},
        {'W', 1, kPoint, 1, access<&V::selectedPoint2>, -1, 0}, {'W', 1, kNone, 1, access<&V::selectedPoint2>, 5, -1},
        {'W', 1, kTree, 1, access<&V::selectedTree>, 0, -1}, {'E', 1, kPoint, 1, access<&V::selectedPoint>, 2, -1},
        {'E', 1, kNone, 1, access<&V::selectedTree>, -1, 0}, {'E', 1, kTree, 1, access<&V::selectedTree>, 0, -1},
        {'L', 2, kNone, 1, access<&V::lightMoveMode>, 0, 1}, {'R', 1, kNone, 1, access<&V::lightMoveMode>, 1, 0},
        {'R', 1, kTree, 1, access<&V::selectedTree>, 0, -1}, {'C', 2, kNone, 1, access<&V::numTrees>, 1, 0},
        {'V', 3, kPoint, 1, access<&V::trackColouring>, 2, 0}};
    for (const auto& r : rows) {
        view.selectedPoint = r.selected == kPoint ? 2 : -1, view.selectedPoint2 = r.selected == kGuidePoint ? 2 : -1;
        view.selectedTree = r.selected == kTree ? 0 : -1;
        view.physicsOn = r.physics, view.trainRunning = 1, view.focusSelectedView = 1, view.gravity = -20.8f;
        r.field(view, &r.start);
        press(r.key, r.events);
        EXPECT_NEAR(r.field(view, nullptr), r.expected, kRelativeRounding * std::max(1.0, std::abs(r.expected)))
            << "key " << r.key << " held for " << r.events << " from " << r.start;
    }
}

TEST_F(KeyCommands, OnFewerThanThreePointsSpaceDoesNotStartTheTrainNorOneChangeTheViewButVColours) {
    buildRing(view, circle(2, 5.0f, 1.0f));
    press(' ');
    press('1');
    press('V');
    EXPECT_EQ(view.trainRunning + view.cameraMode, 0);
    EXPECT_EQ(view.trackColouring, kVerticalGColours);
}

// Only what a user can see or save counts here: the mouse positions, the lamp's pulse and the key
// latches (which re-arm on any event with their key up) do not show, and nothing ever changes
// the mass or the field of view.
TEST_F(KeyCommands, ClearResetsWhatItClearsAndKeepsTheRest) {
    buildRing(view, circle(5, 4.0f, 3.0f));
    press('N');
    const TrackView fresh(0, 0, 10, 10);
    // The fields the clear resets, each to a fresh view's start value, and those it keeps.
    const std::tuple reset{&V::selectedPoint, &V::selectedPoint2, &V::selectedTree, &V::lightMoveMode,
        &V::trainRunning, &V::cameraMode, &V::useBSpline, &V::showPoints, &V::drawRails, &V::lightingOn,
        &V::tieSpacing, &V::supportEvery, &V::physicsOn, &V::focusSelectedView, &V::reservedSetting, &V::trainSpeed,
        &V::gravity, &V::focusViewOffset, &V::camEyeX, &V::camEyeY, &V::camDistance, &V::camTargetX, &V::camTargetY,
        &V::camTargetZ, &V::trackColouring};
    const std::tuple kept{&V::trainU, &V::totalEnergy, &V::maxHeight};
    std::apply([&](auto... field) { ((view.*field = 2), ...); }, std::tuple_cat(reset, kept));
    for (float& coordinate : view.lightPos) coordinate = 30.0f;
    view.arcBall.startX = 0.5f;
    view.clearAndReset();
    const auto expectEqual = [](auto actual, auto expected) { EXPECT_EQ(actual, expected); };
    std::apply([&](auto... field) { (expectEqual(view.*field, fresh.*field), ...); }, reset);
    std::apply([&](auto... field) { (expectEqual(view.*field, 2), ...); }, kept);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(view.lightPos[k], fresh.lightPos[k]);
    EXPECT_EQ(view.numPoints + view.numPoints2 + view.numTrees, 0);
    EXPECT_EQ(view.arcBall.startX, 0.5f);
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

}  // namespace
