// The train's roof lamp: its pulse, step by step, against a reference level.
#include <gtest/gtest.h>

#include "track/TrackView.h"

// Each call adds 0.01 (a double) while rising and takes it away while falling, storing a float;
// at 0.5 or more it turns down, at 0 or less up again.
TEST(RoofLamp, PulsesByAHundredthAddedInDoubleBetweenNothingAndHalf) {
    TrackView view(0, 0, 10, 10);
    float level = 0.0f;
    int falling = 0;
    for (int call = 0; call < 300; ++call) {
        view.pulseBeacon();
        level = static_cast<float>(falling ? level - 0.01 : level + 0.01);
        falling = falling ? !(level <= 0.0f) : level >= 0.5f;
        ASSERT_TRUE(view.beaconLevel == level && view.beaconFalling == falling) << "call " << call;
    }
}
