// The ride report's stalls against a hill the energy cannot climb, its summary against a vertical
// ring worked out by hand, and the ride report page's example against the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sim/RideReport.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr double kGravity = 20.8, kMass = 100;

// Over the top of a hill above the energy the train lacks the energy to be there: it creeps on
// at 2 (world units per 100 frames), gets round, and the stretch counts as one stall.
TEST(RideReport, AHillAboveTheEnergyIsOneStallTheTrainCreepsOver) {
    TrackView hill(0, 0, 10, 10);
    buildRing(hill, {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}});
    hill.totalEnergy = kMass * kGravity * hill.maxHeight / 2;
    const RideReport lap = computeRideReport(hill);
    const auto creeps = [](const RidePlace& p) { return !p.stalled || p.speed == 2.0f; };
    EXPECT_TRUE(lap.stalls == 1 && lap.lapComplete && std::all_of(lap.places.begin(), lap.places.end(), creeps));
}

// A vertical ring ridden at a constant v with v² = R|g|/2, its guide ring outside: at an angle a
// from the top the riders feel cos a - 1/2, from 1/2 at the top to -3/2 at the bottom, so they
// float over the 240 degrees below a = 60: two thirds of the lap time. The train covers each
// hundredth's chord in 100 chord / v frames, so a lap takes 100 P / v frames at 59 a second, P
// the chords' sum.
TEST(RideReport, TheSummaryOfAVerticalRingAtConstantSpeedIsWorkedOutByHand) {
    constexpr double kRadius = 10, kFrames = 2.0, kG = 0.01;  // tolerances: frames counted, g of a ring 0.13% small
    std::vector<Point3> track, guide;
    for (const Point3& p : circle(100, 1.0f, 0.0f))  // in the x-y plane, about (0, 12, 0)
        track.push_back({float(kRadius * p[0]), float(12 + kRadius * p[2]), 0}),
        guide.push_back({float((kRadius + 4) * p[0]), float(12 + (kRadius + 4) * p[2]), 0});
    TrackView view(0, 0, 10, 10);
    setRings(view, track, guide), view.buildTrack(), view.buildTrack2();
    const double v = std::sqrt(kRadius * kGravity / 2), lapTime = 100 * polylineLength(view, 100) / v / 59;
    view.physicsOn = 0, view.trainSpeed = float(v);
    const RideReport r = computeRideReport(view);
    EXPECT_NEAR(r.lapTime, lapTime, kFrames / 59);
    EXPECT_NEAR(r.airtime, lapTime * 2 / 3, 0.01 * lapTime);
    EXPECT_TRUE(std::fabs(r.minVerticalG + 1.5) < kG && std::fabs(r.maxVerticalG - 0.5) < kG && r.maxLateralG < kG)
        << r.minVerticalG << " " << r.maxVerticalG << " " << r.maxLateralG;
}

// The ride report page's example is what the program prints for tracks/loop.trk, line for line.
TEST(RideReport, TheReadmesExampleIsWhatTheProgramPrintsForTheLoop) {
    TrackView view(0, 0, 10, 10);
    view.loadTrackFile(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    const std::string readme = readFile(KALVORA_SOURCE_DIR "/docs/ride-report.md");
    const size_t from = readme.find("```\nride report: ") + 4;
    EXPECT_EQ(readme.substr(from, readme.find("```", from) - from), rideReportSummary(computeRideReport(view)));
}

}  // namespace
