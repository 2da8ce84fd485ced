// The train's step: its pace and wrap on the sample tracks, where a placed train stands, and
// tracks with stacked points. (Its speed from the energy shows in the ride report's tests.)
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/support/TrackFixtures.h"

// The reference step: trainU + trainSpeed / sampleDist[k] x 0.01, formed in double and stored
// as float; 1 or more puts the train exactly at the start.
float referenceStep(const TrackView& view, float u, float speed) {
    const float next = static_cast<float>(u + speed / (double)view.sampleDist[int(u * 100.0)] * 0.01);
    return next >= 1.0f ? 0.0f : next;
}

// Every step on the sample tracks, a step past the end from a short hundredth 98 and an
// infinite speed (from a file, physics off) all take the train where the formula says. (Where it then stands shows in the reference pictures.)
TEST(TrainStep, IsTheSingleStepOfTheFormulaWrappingToTheStart) {
    for (const std::string name : {"figure8.trk", "largest.trk", "loop.trk", "oval.trk"})
        for (float speed : {100.0f, 20.0f}) {
            TrackView view(0, 0, 100, 100);
            view.loadTrackFile((KALVORA_SOURCE_DIR "/tracks/" + name).c_str());
            ASSERT_GE(view.numPoints, kMinBuildPoints) << name;
            view.physicsOn = 0, view.trainSpeed = speed;
            for (int frame = 0; frame < 2000; ++frame) {
                const float expected = referenceStep(view, view.trainU, speed);
                view.advanceTrain();
                ASSERT_EQ(view.trainU, expected) << name << " at speed " << speed << ", frame " << frame;
            }
        }
    const struct { float u, dist98, speed; } cases[] = {{0.985f, 1.0f, 5.0f}, {0.3f, 10.0f, INFINITY}};
    for (const auto& c : cases) {
        TrackView view(0, 0, 100, 100);
        buildRing(view, circle(8, 10.0f, 2.0f));
        view.physicsOn = 0, view.trainSpeed = c.speed, view.trainU = c.u, view.sampleDist[98] = c.dist98;
        const float expected = referenceStep(view, c.u, c.speed);
        view.advanceTrain();
        EXPECT_EQ(view.trainU, expected) << "from " << c.u << " at speed " << c.speed;
    }
}

// Placing the train (a load, M, an undo) forms s = numPoints x trainU in float and stands on
// segment trunc(s) at s - trunc(s).
TEST(PlaceTrain, StandsWhereTheFloatProductOfCountAndParameterSays) {
    std::mt19937 random(7);
    for (int n : {3, 5, 7, 100}) {
        TrackView view(0, 0, 100, 100);
        buildRing(view, circle(n, 10.0f, 2.0f));
        for (int k = 0; k < 200; ++k) {
            view.trainU = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
            view.placeTrain();
            const float s = static_cast<float>(n) * view.trainU;
            float p[3];
            view.segments[int(s)]->evaluate(&p[0], &p[1], &p[2], s - int(s));
            ASSERT_TRUE(p[0] == view.trainPos[0] && p[1] == view.trainPos[1] && p[2] == view.trainPos[2])
                << n << " points at " << view.trainU;
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
