// The ride report's stalls against a hill the energy cannot climb, and the README's example
// against the program (the example's figures hold the lap's arithmetic as the program prints it).
#include <gtest/gtest.h>

#include <algorithm>

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

// The README's example is what the program prints for tracks/loop.trk, line for line.
TEST(RideReport, TheReadmesExampleIsWhatTheProgramPrintsForTheLoop) {
    TrackView view(0, 0, 10, 10);
    view.loadTrackFile(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    const std::string readme = readFile(KALVORA_SOURCE_DIR "/README.md");
    const size_t from = readme.find("```\nride report: ") + 4;
    EXPECT_EQ(readme.substr(from, readme.find("```", from) - from), rideReportSummary(computeRideReport(view)));
}

}  // namespace
