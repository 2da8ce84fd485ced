// The train's step: its speed from the energy model, its pace and wrap on the sample tracks, and
// tracks with stacked points.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/TrackFixtures.h"

constexpr double kSpeedTolerance = 1e-3;  // float square root of values up to a few hundred

// A square with one raised corner; each row gives the train an energy and a height and says its
// speed: 4 at the top, more lower down, a creeping 2 where the energy is too little, and none
// (the train stays put) where it is exactly used up.
TEST(TrainSpeed, IsFourAtTheTopFasterLowerDownTwoWithoutTheEnergyAndZeroLeavesTheTrainPut) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}});
    const float top = view.maxHeight, energy = view.totalEnergy;
    const struct { float energy, height; double speed; } cases[] = {
        {energy, top, 4.0}, {energy, 0.0f, std::sqrt(16.0 + 2.0 * 20.8 * top)}, {energy, top + 1.0f, 2.0}, {0, 0, 0}};
    for (const auto& c : cases) {
        view.totalEnergy = c.energy, view.trainU = 0.3f, view.trainPos[1] = c.height, view.advanceTrain();
        EXPECT_TRUE(std::fabs(view.trainSpeed - c.speed) < kSpeedTolerance && (view.trainU > 0.3f) == (c.speed > 0.0))
            << "at height " << c.height << ": speed " << view.trainSpeed;
    }
}

// The pace: trainU + trainSpeed / sampleDist[k] x 0.01, formed in double and stored as float,
// about trainSpeed / 100 world units whatever the stretch of the parameter; the wrap: 1 or more
// puts the train exactly at the start. (Where it then stands shows in the reference pictures.)
TEST(TrainStep, OnEverySampleTrackEachStepIsTheSingleStepOfTheFormulaWrappingToTheStart) {
    for (const std::string name : {"figure8.trk", "largest.trk", "loop.trk", "oval.trk"})
        for (float speed : {100.0f, 20.0f}) {
            TrackView view(0, 0, 100, 100);
            view.loadTrackFile((KALVORA_SOURCE_DIR "/tracks/" + name).c_str());
            ASSERT_GE(view.numPoints, kMinBuildPoints) << name;
            view.physicsOn = 0, view.trainSpeed = speed;
            for (int frame = 0; frame < 2000; ++frame) {
                const float u = view.trainU;
                float expected = static_cast<float>(u + speed / (double)view.sampleDist[int(u * 100.0)] * 0.01);
                if (expected >= 1.0f) expected = 0.0f;
                view.advanceTrain();
                ASSERT_EQ(view.trainU, expected) << name << " at speed " << speed << ", frame " << frame;
            }
        }
}

// Three presses of the add key leave three points on one spot: the train stays finite there.
// Four of five on one spot give a stretch of no length inside a real track: the train must pass
// it, not be thrown back to the start every time it gets there.
TEST(DegenerateTrack, TheTrainStaysFiniteOnStackedPointsAndPassesAStretchOfNoLength) {
    const struct { std::vector<Point3> points; float furthest; } cases[] = {
        {std::vector<Point3>(3, {{2.5f, 1, -3}}), 0.0f}, {{{}, {}, {}, {}, {{6, 0, 6}}}, 0.95f}};
    for (const auto& c : cases)
        for (int physics : {0, 1}) {
            TrackView view(0, 0, 100, 100);
            buildRing(view, c.points), view.physicsOn = physics;
            float furthest = 0;
            for (int frame = 0; frame < 20000 && (frame == 0 || view.trainU > 0.0f); ++frame) {
                view.advanceTrain(), furthest = std::max(furthest, view.trainU);
                ASSERT_TRUE(std::isfinite(view.trainPos[0] + view.trainPos[1] + view.trainPos[2] + view.trainU));
            }
            EXPECT_TRUE(furthest >= c.furthest && view.trainU == 0.0f) << c.points.size() << " points, physics " << physics;
        }
}
