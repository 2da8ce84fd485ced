// The force bands at every limit, and the lap place whose force a point of the track takes.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/ForceBands.h"
#include "sim/RideReport.h"

namespace {

float below(float limit) { return std::nextafter(limit, -100.0f); }

TEST(ForceBands, EachLimitStartsTheBandAboveItAndLateralGCountsBySize) {
    const int V = kVerticalGColours, L = kLateralGColours;
    const struct { int colouring; float g; const float* colour; } rows[] = {
        {V, below(0), kAirtimeBlue}, {V, 0, kForceGreen}, {V, below(3), kForceGreen}, {V, 3, kForceYellow},
        {V, below(5), kForceYellow}, {V, 5, kForceRed}, {L, below(0.5f), kForceGreen}, {L, -below(0.5f), kForceGreen},
        {L, 0.5f, kForceYellow}, {L, -0.5f, kForceYellow}, {L, below(1.5f), kForceYellow},
        {L, -below(1.5f), kForceYellow}, {L, 1.5f, kForceRed}, {L, -1.5f, kForceRed}, {kPlainColours, 1, nullptr}};
    for (const auto& r : rows) EXPECT_EQ(bandColour(r.colouring, r.g), r.colour) << r.colouring << " " << r.g;
}

// Places at 0 (floating), 0.4 (seated), 0.6 (force unknown) and 0.8 (pressed hard): a point takes
// the nearest place's colour, past 0.8 the ring comes round to 0; a lap cut short has no colour
// beyond its last place.
TEST(ForceBands, APointTakesTheForceOfTheNearestPlaceOfTheLap) {
    RideReport lap;
    for (float u : {0.0f, 0.4f, 0.6f, 0.8f}) lap.places.push_back({u, 0, 0, 0, 10 * u - 2, 0, u != 0.6f, false});
    const struct { bool complete; float u; const float* colour; } rows[] = {
        {true, 0.19f, kAirtimeBlue}, {true, 0.21f, kForceGreen}, {true, 0.51f, nullptr}, {true, 0.89f, kForceRed},
        {true, 0.91f, kAirtimeBlue}, {false, 0.8f, kForceRed}, {false, 0.81f, nullptr}};
    for (const auto& r : rows) {
        lap.lapComplete = r.complete;
        EXPECT_EQ(forceColourAt(lap, kVerticalGColours, r.u), r.colour) << r.complete << " " << r.u;
    }
}

}  // namespace
