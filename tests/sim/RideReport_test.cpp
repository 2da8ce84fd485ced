// The ride report's lap against closed forms: level and banked rings, a hill the energy cannot
// climb and a camelback crest.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/RideReport.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

// kRatio: v²/(R|g|) on the rings, to kRelative (their B-spline runs 0.13% inside their points).
constexpr double kGravity = 20.8, kMass = 100, kRadius = 10, kHeight = 2, kRatio = 1.5, kRelative = 0.01;

// Least and most vertical g and most lateral g of the summary, each with its tolerance (NaN: not
// checked), whether there is airtime and the number of stalls.
struct Expected { double g[3], tolerance[3]; bool airtime; int stalls; };

void expectLap(const TrackView& view, const Expected& e, const char* name) {
    const RideReport report = computeRideReport(view);
    const double got[] = {report.minVerticalG, report.maxVerticalG, report.maxLateralG};
    for (int k = 0; k < 3; ++k)
        if (!std::isnan(e.g[k])) { EXPECT_NEAR(got[k], e.g[k], e.tolerance[k]) << name << ", figure " << k; }
    EXPECT_TRUE((report.airtime > 0) == e.airtime && report.stalls == e.stalls) << name;
}

// A 100-point level ring with the energy for v² = kRatio R |g| at its height, its guide ring 4
// away: straight above, the riders feel the turn sideways; banked inwards by atan(kRatio), only
// into the seat.
TEST(RideReport, RingsPressSidewaysOrOnlyIntoTheSeatAsTheirBankSays) {
    const double g = std::hypot(1.0, kRatio);
    for (double bank : {0.0, std::atan(kRatio)}) {
        TrackView view(0, 0, 10, 10);
        setRings(view, circle(100, kRadius, kHeight), circle(100, kRadius - 4 * std::sin(bank), kHeight + 4 * std::cos(bank)));
        view.buildTrack(), view.buildTrack2();
        view.totalEnergy = kMass * (kRatio * kRadius * kGravity / 2 + kGravity * kHeight);
        if (bank) expectLap(view, {{g, g, 0.0}, {kRelative * g, kRelative * g, kRelative * kRatio}, false, 0}, "banked");
        else expectLap(view, {{1.0, 1.0, kRatio}, {1e-3, 1e-3, kRelative * kRatio}, false, 0}, "level");
    }
}

// A hill above the energy stalls the train once. Points on y = 6 - x² around a crest: the
// B-spline runs on y = 6 - 1/3 - x², curvature 2, and the riders feel least there: 1 - v²κ/|g|,
// v² from the energy at the crest's height.
TEST(RideReport, AHillAboveTheEnergyStallsAndACamelbackCrestLiftsTheRiders) {
    TrackView hill(0, 0, 10, 10), camelback(0, 0, 10, 10);
    buildRing(hill, {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}});
    hill.totalEnergy = kMass * kGravity * hill.maxHeight / 2;
    expectLap(hill, {{NAN, NAN, NAN}, {}, false, 1}, "hill");
    buildRing(camelback, {{{-2, 2, 0}}, {{-1, 5, 0}}, {{0, 6, 0}}, {{1, 5, 0}}, {{2, 2, 0}},
                          {{4, 1, 3}}, {{2, 1, 6}}, {{-2, 1, 6}}, {{-4, 1, 3}}});
    const double v2 = 2 * camelback.totalEnergy / kMass - 2 * kGravity * (6 - 1 / 3.);
    expectLap(camelback, {{1 - v2 * 2 / kGravity, NAN, NAN}, {.01}, true, 0}, "camelback");
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
    double chords = 0;
    for (int k = 0; k < 100; ++k) {
        const Point3 p = pointAt(view.segments, kPoints, k / 100.0), q = pointAt(view.segments, kPoints, (k + 1) / 100.0);
        chords += std::hypot(q[0] - p[0], q[1] - p[1], q[2] - p[2]);
    }
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
