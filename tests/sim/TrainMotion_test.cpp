// The train's step: its speed from the energy model, its even pace in space, the wrap at the end
// of the track, the up hint from the guide ring, and tracks whose points sit on one spot.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kSpeedTolerance = 1e-3;  // float square root of values up to a few hundred
constexpr double kPaceTolerance = 0.06;   // per-frame distance vs. trainSpeed / 100, relative
constexpr int kLapFrameLimit = 200000;    // far more frames than any lap below needs

double distance(const Point3& a, const Point3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

Point3 trainPosition(const TrackView& view) { return {{view.trainPos[0], view.trainPos[1], view.trainPos[2]}}; }

// Whether the parameter, position, tangent and up hint are all finite numbers.
bool trainStateFinite(const TrackView& view) {
    double sum = view.trainU;
    for (int k = 0; k < 3; ++k) sum += view.trainPos[k] + view.trainTangent[k] + view.trainUp[k];
    return std::isfinite(sum);
}

// Runs the train until it is back at the start; the furthest parameter it reached on the way,
// or -1 if its state stopped being finite or it never came round.
float rideLap(TrackView& view) {
    float furthest = 0;
    for (int frame = 0; frame < kLapFrameLimit; ++frame) {
        view.advanceTrain();
        if (!trainStateFinite(view)) return -1;
        if (view.trainU == 0.0f) return furthest;
        furthest = std::max(furthest, view.trainU);
    }
    return -1;
}

// A square with one raised corner; each row gives the train an energy and a height and says its
// speed: 4 at the top, more lower down, a creeping 2 where the energy is too little, and none
// (the train stays put) where it is exactly used up.
TEST(TrainSpeed, IsFourAtTheTopFasterLowerDownTwoWithoutTheEnergyAndZeroLeavesTheTrainPut) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}});
    const float top = view.maxHeight, energy = view.totalEnergy;
    ASSERT_GT(top, 2.0f);
    const auto energyModel = [top](double y) { return std::sqrt(16.0 + 2.0 * 20.8 * (top - y)); };
    const struct { float energy, height; double speed; } cases[] = {
        {energy, top, 4.0}, {energy, top - 1.5f, energyModel(top - 1.5f)}, {energy, 0.0f, energyModel(0.0)},
        {energy, top + 1.0f, 2.0}, {0.0f, 0.0f, 0.0}};
    for (const auto& c : cases) {
        view.totalEnergy = c.energy, view.trainU = 0.3f, view.trainPos[1] = c.height;
        view.advanceTrain();
        EXPECT_NEAR(view.trainSpeed, c.speed, kSpeedTolerance) << "at height " << c.height;
        EXPECT_EQ(view.trainU > 0.3f, c.speed > 0.0) << "at height " << c.height;
    }
}

// With constant speed every frame covers trainSpeed / 100 world units, on a long segment as on
// a short one, although both get the same share of the parameter; past the end the train is
// exactly at the start.
TEST(TrainStep, ConstantSpeedCoversTheSameDistanceOnLongAndShortSegmentsAndWrapsToTheStart) {
    TrackView view(0, 0, 100, 100);
    view.useBSpline = 0;  // through the points: segment 0 is 16 long, segment 1 about 2
    buildRing(view, {{{0, 0, 0}}, {{16, 0, 0}}, {{17.5f, 0, 1.5f}}, {{16, 0, 3}}, {{0, 0, 3}}});
    view.physicsOn = 0, view.trainSpeed = 3.0f;
    const double pace = view.trainSpeed / 100.0;
    view.advanceTrain();  // from the start, where the train now stands
    double moved = 0;
    int frames = 0, shortFrames = 0;
    for (; frames < kLapFrameLimit; ++frames) {
        const Point3 before = trainPosition(view);
        const float u = view.trainU;
        view.advanceTrain();
        if (view.trainU < u) break;  // the wrap drops the rest of the step
        const double step = distance(before, trainPosition(view));
        EXPECT_NEAR(step / pace, 1.0, 3 * kPaceTolerance) << "at u = " << u;
        moved += step;
        shortFrames += u > 0.2f && u < 0.4f;
    }
    ASSERT_GT(shortFrames, 10);  // the short segment is long enough to measure
    EXPECT_NEAR(moved / frames / pace, 1.0, kPaceTolerance);
    EXPECT_EQ(view.trainSpeed, 3.0f);  // without physics the speed stays as set
    EXPECT_EQ(view.trainU, 0.0f);
    EXPECT_EQ(trainPosition(view), pointAt(view.segments, view.numPoints, 0.0));
}

TEST(TrainStep, UpHintFollowsTheGuideRingFromTheNextFrameOn) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    view.physicsOn = 0;
    for (int lean = 0; lean <= 1; ++lean) {
        if (lean) view.points2[1]->setPosition(13.0f, 9.0f, -2.0f);  // lean the guide ring sideways
        view.buildTrack2();
        view.advanceTrain();
        const Point3 guide = pointAt(view.segments2, view.numPoints, view.trainU);
        const Point3 track = pointAt(view.segments, view.numPoints, view.trainU);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(view.trainUp[k], guide[k] - track[k], 1e-4) << "component " << k;
    }
    EXPECT_GT(std::fabs(view.trainUp[0]), 0.1f);  // the lean reached the hint
}

// Three presses of the add key leave three points on one spot: every tangent and sample distance
// is 0. The train stays finite on the spot, a speed that is no positive number leaves its
// parameter alone, and it rides once the points move apart.
TEST(DegenerateTrack, StackedPointsKeepTheTrainFiniteAndItRidesOnceTheyMoveApart) {
    const struct { int physics; float speed; bool stays; } cases[] = {
        {1, 0, false}, {0, 3, false}, {0, 0, true}, {0, -3, true}, {0, NAN, true}, {0, INFINITY, true}};
    for (const auto& c : cases) {
        TrackView view(0, 0, 100, 100);
        buildRing(view, std::vector<Point3>(3, {{2.5f, 1, -3}}));
        ASSERT_EQ(view.sampleDist[0], 0.0f);
        view.physicsOn = c.physics, view.trainSpeed = c.speed, view.trainU = 0.42f;
        for (int frame = 0; frame < 300; ++frame) {
            view.advanceTrain();
            ASSERT_TRUE(trainStateFinite(view)) << "frame " << frame << ", speed " << c.speed;
            ASSERT_TRUE(view.trainU >= 0.0f && view.trainU < 1.0f) << "frame " << frame;
            ASSERT_EQ(trainPosition(view), (Point3{{2.5f, 1, -3}}));
        }
        if (c.stays) {
            EXPECT_EQ(view.trainU, 0.42f) << "speed " << c.speed;  // never backwards
        }
        buildRing(view, {{{2.5f, 1, -3}}, {{8, 1, -3}}, {{5, 1, 3}}});  // dragged apart
        view.physicsOn = 1;
        EXPECT_GT(rideLap(view), 0.95f) << "speed " << c.speed;
    }
}

// Four of five points on one spot give a segment of no length in the middle of a real track.
// The train must cross it, not be thrown back to the start every time it gets there. A parameter
// outside [0, 1) (a bad value from elsewhere) restarts it at the start.
TEST(DegenerateTrack, TrainCrossesAStretchOfNoLengthAndRestartsFromBadParameters) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, {{{0, 0, 0}}, {{0, 0, 0}}, {{0, 0, 0}}, {{0, 0, 0}}, {{6, 0, 6}}});
    ASSERT_EQ(view.sampleDist[30], 0.0f);  // segment 1 is a single point
    view.physicsOn = 0;
    for (float u : {NAN, -0.25f, 1.0f, 7.0f}) {
        view.trainU = u;
        view.advanceTrain();
        EXPECT_TRUE(view.trainU >= 0.0f && view.trainU < 0.01f && trainStateFinite(view)) << "from u = " << u;
    }
    EXPECT_GT(rideLap(view), 0.95f);
}

}  // namespace
