// The train's step: its speed from the energy model, its even pace in space, the wrap at the end
// of the track, the up hint from the guide ring, and tracks whose points sit on one spot.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/TrackFixtures.h"

namespace {

constexpr float kExact = 1e-5f;            // values that differ only by float rounding
constexpr double kPaceTolerance = 0.06;    // per-frame distance vs. trainSpeed / 100, relative
constexpr int kLapFrameLimit = 200000;     // far more frames than any lap below needs

double distance(const Point3& a, const Point3& b) {
    return std::sqrt(std::pow(a[0] - b[0], 2.0) + std::pow(a[1] - b[1], 2.0) + std::pow(a[2] - b[2], 2.0));
}

Point3 trainPosition(const TrackView& view) { return {{view.trainPos[0], view.trainPos[1], view.trainPos[2]}}; }

bool trainStateFinite(const TrackView& view) {
    bool finite = std::isfinite(view.trainU) && std::isfinite(view.trainSpeed);
    for (int k = 0; k < 3; ++k)
        finite = finite && std::isfinite(view.trainPos[k]) && std::isfinite(view.trainTangent[k]) &&
                 std::isfinite(view.trainUp[k]);
    return finite;
}

// A square with one raised corner: the train climbs and falls.
std::vector<Point3> hill() { return {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}}; }

// Puts the train at u with its position where the previous step would have left it.
void placeAt(TrackView& view, float u) {
    view.trainU = u;
    const Point3 p = pointAt(view.segments, view.numPoints, u);
    for (int k = 0; k < 3; ++k) view.trainPos[k] = p[k];
}

TEST(TrainSpeed, IsFourAtTheTopAndFollowsEnergyConservationLowerDown) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, hill());
    ASSERT_GT(view.maxHeight, 2.0f);

    view.trainPos[1] = view.maxHeight;
    view.advanceTrain();
    EXPECT_NEAR(view.trainSpeed, 4.0f, kExact);

    // Over a lap every step takes the speed that the height left by the previous step gives.
    placeAt(view, 0.0f);
    int frames = 0;
    float lowest = view.maxHeight;
    do {
        const float height = view.trainPos[1];
        view.advanceTrain();
        const double expected = std::sqrt(16.0 + 2.0 * 20.8 * (view.maxHeight - height));
        ASSERT_NEAR(view.trainSpeed, expected, 1e-3) << "at height " << height;
        lowest = std::min(lowest, height);
    } while (view.trainU > 0.0f && ++frames < kLapFrameLimit);
    EXPECT_LT(frames, kLapFrameLimit);
    EXPECT_LT(lowest, 0.5f);  // the lap really went down the hill
}

TEST(TrainSpeed, CreepsAtTwoWithoutEnoughEnergyUntilLowEnoughAgain) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, hill());
    view.totalEnergy = 100.0f * 20.8f * 2.0f;  // enough to reach height 2, not more
    view.trainPos[1] = 3.0f;
    view.advanceTrain();
    EXPECT_EQ(view.trainSpeed, 2.0f);
    view.trainPos[1] = 1.0f;
    view.advanceTrain();
    EXPECT_NEAR(view.trainSpeed, std::sqrt(2.0 * 20.8 * 1.0), 1e-3);
}

TEST(TrainSpeed, ZeroRadicandStopsTheTrainWhereItIs) {
    TrackView view(0, 0, 100, 100);
    view.gravity = -16.0f;  // values whose products are exact, so the radicand is exactly 0
    buildRing(view, circle(6, 5.0f, 1.0f));
    view.totalEnergy = 1600.0f;  // m |g| y at height 1: no speed left
    placeAt(view, 0.3f);
    ASSERT_EQ(view.trainPos[1], 1.0f);
    const Point3 start = trainPosition(view);
    for (int frame = 0; frame < 10; ++frame) view.advanceTrain();
    EXPECT_EQ(view.trainSpeed, 0.0f);
    EXPECT_EQ(view.trainU, 0.3f);
    EXPECT_LT(distance(trainPosition(view), start), kExact);
}

TEST(TrainStep, PassingTheEndPutsTheTrainExactlyAtTheStart) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    view.physicsOn = 0;
    view.trainSpeed = 50.0f;
    placeAt(view, 0.999f);
    view.advanceTrain();
    EXPECT_EQ(view.trainU, 0.0f);
    float x, y, z;
    view.segments[0]->evaluate(&x, &y, &z, 0.0f);
    EXPECT_EQ(trainPosition(view), (Point3{{x, y, z}}));
}

// With constant speed every frame covers trainSpeed / 100 world units, on a long segment as on
// a short one, although both get the same share of the parameter.
TEST(TrainStep, ConstantSpeedCoversTheSameDistanceOnLongAndShortSegments) {
    TrackView view(0, 0, 100, 100);
    view.useBSpline = 0;  // through the points: segment 0 is 16 long, segment 1 about 2
    buildRing(view, {{{0, 0, 0}}, {{16, 0, 0}}, {{17.5f, 0, 1.5f}}, {{16, 0, 3}}, {{0, 0, 3}}});
    view.physicsOn = 0;
    view.trainSpeed = 3.0f;
    const double pace = view.trainSpeed / 100.0;
    placeAt(view, 0.0f);

    double longSum = 0, shortSum = 0;
    int longFrames = 0, shortFrames = 0, frames = 0;
    while (++frames < kLapFrameLimit) {
        const Point3 before = trainPosition(view);
        const float u = view.trainU;
        view.advanceTrain();
        if (view.trainU == 0.0f) break;  // the wrap drops the rest of the step
        const double moved = distance(before, trainPosition(view));
        EXPECT_NEAR(moved / pace, 1.0, 3 * kPaceTolerance) << "at u = " << u;
        if (u > 0.04f && u < 0.16f) longSum += moved, ++longFrames;
        if (u > 0.24f && u < 0.36f) shortSum += moved, ++shortFrames;
    }
    EXPECT_EQ(view.trainSpeed, 3.0f);  // without physics the speed stays as set
    ASSERT_GT(shortFrames, 10);
    ASSERT_GT(longFrames, 5 * shortFrames);  // the long segment takes many more frames
    EXPECT_NEAR(longSum / longFrames / pace, 1.0, kPaceTolerance);
    EXPECT_NEAR(shortSum / shortFrames / pace, 1.0, kPaceTolerance);
}

TEST(TrainStep, UpHintFollowsTheGuideRingFromTheNextFrameOn) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, hill());
    view.physicsOn = 0;
    placeAt(view, 0.2f);
    view.advanceTrain();
    auto expectUpHintFromGuide = [&view] {
        const Point3 guide = pointAt(view.segments2, view.numPoints, view.trainU);
        const Point3 track = pointAt(view.segments, view.numPoints, view.trainU);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(view.trainUp[k], guide[k] - track[k], 1e-4) << "component " << k;
    };
    expectUpHintFromGuide();
    const float before = view.trainUp[0];

    view.points2[1]->setPosition(13.0f, 9.0f, -2.0f);  // lean the guide ring sideways
    view.buildTrack2();
    view.advanceTrain();
    expectUpHintFromGuide();
    EXPECT_GT(std::fabs(view.trainUp[0] - before), 0.1f);
}

// Three presses of the add key leave three points on one spot: the track is a single point, every
// tangent and sample distance is 0 and the length value is 0.
TEST(DegenerateTrack, StackedPointsKeepTheTrainFiniteAndItRidesOnceTheyMoveApart) {
    for (int physics = 0; physics <= 1; ++physics) {
        TrackView view(0, 0, 100, 100);
        buildRing(view, {{{2.5f, 1, -3}}, {{2.5f, 1, -3}}, {{2.5f, 1, -3}}});
        ASSERT_EQ(view.trackLength, 0.0f);
        ASSERT_EQ(view.sampleDist[0], 0.0f);
        view.physicsOn = physics;
        view.trainU = 0.0f;
        for (int frame = 0; frame < 300; ++frame) {
            view.advanceTrain();
            ASSERT_TRUE(trainStateFinite(view)) << "frame " << frame;
            ASSERT_TRUE(view.trainU >= 0.0f && view.trainU < 1.0f) << "frame " << frame;
            ASSERT_LT(distance(trainPosition(view), {{2.5f, 1, -3}}), kExact);
        }

        // Dragged apart, the train leaves the spot and rides a whole lap.
        view.points[1]->setPosition(8, 1, -3);
        view.points2[1]->setPosition(8, 5, -3);
        view.points[2]->setPosition(5, 1, 3);
        view.points2[2]->setPosition(5, 5, 3);
        view.buildTrack();
        view.buildTrack2();
        float furthest = 0;
        int frames = 0;
        do {
            view.advanceTrain();
            furthest = std::max(furthest, view.trainU);
        } while (view.trainU > 0.0f && ++frames < kLapFrameLimit);
        EXPECT_GT(furthest, 0.95f) << "physics " << physics;
        EXPECT_TRUE(trainStateFinite(view));
    }
}

// Four of five points on one spot give a segment of no length in the middle of a real track.
// The train must cross it, not be thrown back to the start every time it gets there.
TEST(DegenerateTrack, TrainCrossesAStretchOfNoLength) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, {{{0, 0, 0}}, {{0, 0, 0}}, {{0, 0, 0}}, {{0, 0, 0}}, {{6, 0, 6}}});
    ASSERT_EQ(view.sampleDist[30], 0.0f);  // segment 1 is a single point
    view.physicsOn = 0;
    placeAt(view, 0.0f);
    float furthest = 0;
    int frames = 0;
    do {
        view.advanceTrain();
        furthest = std::max(furthest, view.trainU);
        ASSERT_TRUE(trainStateFinite(view));
    } while (view.trainU > 0.0f && ++frames < kLapFrameLimit);
    EXPECT_GT(furthest, 0.95f);
    EXPECT_LT(frames, kLapFrameLimit);
}

TEST(DegenerateTrack, NoSpeedOnAStretchOfNoLengthLeavesTheParameterAlone) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, {{{1, 1, 1}}, {{1, 1, 1}}, {{1, 1, 1}}});
    view.physicsOn = 0;
    view.trainSpeed = 0.0f;
    view.trainU = 0.42f;
    view.advanceTrain();
    EXPECT_EQ(view.trainU, 0.42f);
    EXPECT_TRUE(trainStateFinite(view));
}

TEST(DegenerateTrack, BadSpeedsAndParametersNeverReachTheSampleTable) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    view.physicsOn = 0;
    for (float speed : {-3.0f, NAN, INFINITY}) {
        view.trainSpeed = speed;
        view.trainU = 0.5f;
        view.advanceTrain();
        EXPECT_EQ(view.trainU, 0.5f) << "speed " << speed;  // the train never runs backwards
        EXPECT_TRUE(std::isfinite(view.trainPos[0]));
    }
    view.trainSpeed = 3.0f;
    for (float u : {NAN, -0.25f, 1.0f, 7.0f}) {
        view.trainU = u;
        view.advanceTrain();
        EXPECT_TRUE(view.trainU >= 0.0f && view.trainU < 0.01f) << "from u = " << u;  // restarted
        EXPECT_TRUE(trainStateFinite(view));
    }
}

}  // namespace
