// The force bands: the band a figure falls in, and the force at a place of the ride report's lap.
#include "sim/ForceBands.h"

#include <cmath>

#include "sim/RideReport.h"

ForceBandTable forceBands(int colouring) {
    switch (colouring) {
        case kVerticalGColours: return {kVerticalGBands, sizeof kVerticalGBands / sizeof kVerticalGBands[0], false};
        case kLateralGColours: return {kLateralGBands, sizeof kLateralGBands / sizeof kLateralGBands[0], true};
        default: return {nullptr, 0, false};
    }
}

const float* bandColour(int colouring, float g) {
    const ForceBandTable table = forceBands(colouring);
    if (table.count == 0) return nullptr;
    if (table.bySize) g = std::fabs(g);
    const float* colour = table.bands[0].colour;
    for (int k = 1; k < table.count; ++k)
        if (g >= table.bands[k].from) colour = table.bands[k].colour;
    return colour;
}

const float* forceColourAt(const RideReport& report, int colouring, float u) {
    if (colouring == kPlainColours) return nullptr;
    const RidePlace* place = nearestPlace(report, u);
    if (!place || !place->forcesKnown) return nullptr;
    return bandColour(colouring, colouring == kVerticalGColours ? place->verticalG : place->lateralG);
}

const char* colouringName(int colouring) {
    static const char* const kNames[kNumTrackColourings] = {"plain", "vertical g", "lateral g"};
    return colouring >= 0 && colouring < kNumTrackColourings ? kNames[colouring] : "plain";
}
