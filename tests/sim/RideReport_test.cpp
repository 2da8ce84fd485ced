// The ride report's lap against closed forms: level and banked rings, a hill the energy cannot
// climb and a camelback crest.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/RideReport.h"
#include "tests/support/TrackFixtures.h"

namespace {

// kRatio: v²/(R|g|) on the rings, to kRelative (their B-spline runs 0.13% inside their points).
constexpr double kGravity = 20.8, kMass = 100, kRadius = 10, kHeight = 2, kRatio = 1.5, kRelative = 0.01;

// Figures of the summary, each with its tolerance; NaN: not checked.
struct Expected { double minVertical, maxVertical, maxLateral, verticalTolerance, lateralTolerance; bool airtime; int stalls; };

// A 100-point level ring with the energy for v² = kRatio R |g| at its height. With the guide
// ring straight above, the riders feel the turn sideways; banked inwards by atan(kRatio), only
// into the seat.
Expected ring(TrackView& view, double bank) {
    setRings(view, circle(100, kRadius, kHeight), circle(100, kRadius - 4 * std::sin(bank), kHeight + 4 * std::cos(bank)));
    view.buildTrack(), view.buildTrack2();
    view.totalEnergy = kMass * (kRatio * kRadius * kGravity / 2 + kGravity * kHeight);
    const double g = std::hypot(1.0, kRatio);
    if (bank) return {g, g, 0.0, kRelative * g, kRelative * kRatio, false, 0};
    return {1.0, 1.0, kRatio, 1e-3, kRelative * kRatio, false, 0};
}

TEST(RideReport, ForcesAirtimeAndStallsOfALapMatchTheClosedForms) {
    const struct { const char* name; Expected (*make)(TrackView&); } cases[] = {
        {"level ring", [](TrackView& view) { return ring(view, 0.0); }},
        {"banked ring", [](TrackView& view) { return ring(view, std::atan(kRatio)); }},
        {"hill above the energy", [](TrackView& view) {
             buildRing(view, {{{0, 0, 0}}, {{10, 5, 0}}, {{10, 0, 10}}, {{0, 0, 10}}});
             view.totalEnergy = kMass * kGravity * view.maxHeight / 2;
             return Expected{NAN, NAN, NAN, 0, 0, false, 1};
         }},
        // Points on y = 6 - x² around the crest: the B-spline runs on y = 6 - 1/3 - x², curvature
        // 2, and the riders feel least there: 1 - v²κ/|g|, v² from the energy at the crest's height.
        {"camelback", [](TrackView& view) {
             buildRing(view, {{{-2, 2, 0}}, {{-1, 5, 0}}, {{0, 6, 0}}, {{1, 5, 0}}, {{2, 2, 0}},
                              {{4, 1, 3}}, {{2, 1, 6}}, {{-2, 1, 6}}, {{-4, 1, 3}}});
             const double v2 = 2 * view.totalEnergy / kMass - 2 * kGravity * (6 - 1 / 3.);
             return Expected{1 - v2 * 2 / kGravity, NAN, NAN, .01, 0, true, 0};
         }}};
    for (const auto& c : cases) {
        TrackView view(0, 0, 10, 10);
        const Expected e = c.make(view);
        const RideReport report = computeRideReport(view);
        const double got[] = {report.minVerticalG, report.maxVerticalG, report.maxLateralG};
        const double want[] = {e.minVertical, e.maxVertical, e.maxLateral};
        for (int k = 0; k < 3; ++k) {
            if (!std::isnan(want[k])) EXPECT_NEAR(got[k], want[k], k < 2 ? e.verticalTolerance : e.lateralTolerance) << c.name;
        }
        EXPECT_TRUE(report.airtime > 0 == e.airtime && report.stalls == e.stalls) << c.name;
    }
}

}  // namespace
