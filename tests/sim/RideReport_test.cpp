// The ride report's lap against closed forms and hand-worked figures: a hill the energy cannot
// climb, a camelback crest, a vertical ring; and the README's example against the program.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/RideReport.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kGravity = 20.8, kMass = 100, kRadius = 10, kHeight = 2;

// A hill above the energy stalls the train once. Points on y = 6 - x² around a crest: the
// B-spline runs on y = 6 - 1/3 - x², curvature 2, and the riders feel least there: 1 - v²κ/|g|,
// v² from the energy at the crest's height.
TEST(RideReport, AHillAboveTheEnergyStallsAndACamelbackCrestLiftsTheRiders) {
    TrackView hill(0, 0, 10, 10), camelback(0, 0, 10, 10);
    buildRing(hill, {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}});
    hill.totalEnergy = kMass * kGravity * hill.maxHeight / 2;
    EXPECT_EQ(computeRideReport(hill).stalls, 1);
    buildRing(camelback, {{{-2, 2, 0}}, {{-1, 5, 0}}, {{0, 6, 0}}, {{1, 5, 0}}, {{2, 2, 0}},
                          {{4, 1, 3}}, {{2, 1, 6}}, {{-2, 1, 6}}, {{-4, 1, 3}}});
    const double v2 = 2 * camelback.totalEnergy / kMass - 2 * kGravity * (6 - 1 / 3.);
    const RideReport crest = computeRideReport(camelback);
    EXPECT_TRUE(std::fabs(crest.minVerticalG - (1 - v2 * 2 / kGravity)) < 0.01 && crest.airtime > 0 && crest.stalls == 0)
        << crest.minVerticalG;
}

// A vertical ring ridden at a constant v with v² = R|g|/2, its guide ring outside: at an angle a
// from the top the riders feel cos a - 1/2, from 1/2 at the top to -3/2 at the bottom, so they
// float over the 240 degrees below a = 60: two thirds of the lap time. The train covers each
// hundredth's chord in 100 chord / v frames, so a lap takes 100 P / v frames at 59 a second, P
// the chords' sum, which is also the lap's length to the sagitta of its hundredths.
TEST(RideReport, TheSummaryOfAVerticalRingAtConstantSpeedIsWorkedOutByHand) {
    constexpr int kPoints = 100;
    constexpr double kFrames = 2.0, kG = 0.01;  // tolerances: frames counted, g from a ring 0.13% small
    std::vector<Point3> track(kPoints), guide(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double a = 2 * M_PI * i / kPoints;
        track[i] = {float(kRadius * std::sin(a)), float(kHeight + kRadius * std::cos(a)), 0};
        guide[i] = {float((kRadius + 4) * std::sin(a)), float(kHeight + (kRadius + 4) * std::cos(a)), 0};
    }
    TrackView view(0, 0, 10, 10);
    setRings(view, track, guide), view.buildTrack(), view.buildTrack2();
    const double v = std::sqrt(kRadius * kGravity / 2);
    view.physicsOn = 0, view.trainSpeed = float(v);
    const double chords = polylineLength(view, 100);
    const RideReport r = computeRideReport(view);
    const double lapTime = 100 * chords / v / 59;
    EXPECT_NEAR(r.lapTime, lapTime, kFrames / 59);
    EXPECT_NEAR(r.lapLength, chords, 1e-3 * chords);
    EXPECT_NEAR(r.airtime, lapTime * 2 / 3, 0.01 * lapTime);
    EXPECT_TRUE(r.minSpeed == float(v) && r.maxSpeed == float(v) && r.stalls == 0 && r.lapComplete);
    EXPECT_TRUE(std::fabs(r.minVerticalG + 1.5) < kG && std::fabs(r.maxVerticalG - 0.5) < kG && r.maxLateralG < kG)
        << r.minVerticalG << " " << r.maxVerticalG << " " << r.maxLateralG;
}

// The README's example is what the program prints for tracks/loop.trk, line for line.
TEST(RideReport, TheReadmesExampleIsWhatTheProgramPrintsForTheLoop) {
    TrackView view(0, 0, 10, 10);
    view.loadTrackFile(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    const std::string readme = readFile(KALVORA_SOURCE_DIR "/README.md");
    const size_t from = readme.find("```\nride report: ") + 4;
    EXPECT_EQ(readme.substr(from, readme.find("```", from) - from), rideReportSummary(computeRideReport(view)));
}

}  // namespace
