// The force bands the track can be coloured by (V) and the ride report marks: which colour a
// vertical or lateral g figure takes. Rules of thumb for what riders feel, not a standard.
#pragma once

#include <limits>

struct RideReport;

// What the track is coloured by: the view's trackColouring, cycled by V in this order.
enum TrackColouring { kPlainColours, kVerticalGColours, kLateralGColours, kNumTrackColourings };

// Colours as glColor3f takes them, each one object: a colour is known by its address.
inline constexpr float kAirtimeBlue[3] = {0.2f, 0.4f, 1.0f};
inline constexpr float kForceGreen[3] = {0.1f, 0.75f, 0.1f};
inline constexpr float kForceYellow[3] = {1.0f, 0.85f, 0.0f};
inline constexpr float kForceRed[3] = {1.0f, 0.1f, 0.1f};

struct ForceBand {
    float from;  // the least figure of the band, which runs up to the next band's
    const float* colour;
};
// Vertical g by its value: below 0 the riders float. Lateral g by its size, to either side.
inline constexpr ForceBand kVerticalGBands[] = {
    {-std::numeric_limits<float>::infinity(), kAirtimeBlue}, {0.0f, kForceGreen}, {3.0f, kForceYellow}, {5.0f, kForceRed}};
inline constexpr ForceBand kLateralGBands[] = {{0.0f, kForceGreen}, {0.5f, kForceYellow}, {1.5f, kForceRed}};

struct ForceBandTable {
    const ForceBand* bands;  // in rising order; none for plain colours
    int count;
    bool bySize;  // the figure's size picks the band (lateral g)
};
ForceBandTable forceBands(int colouring);

// The band colour of a figure under a colouring; null for plain colours.
const float* bandColour(int colouring, float g);
// The band colour of the force at global parameter u: the figure of the report's lap place
// nearest to u. Null for plain colours and where that force is unknown or the lap never got.
const float* forceColourAt(const RideReport& report, int colouring, float u);
// "plain", "vertical g" or "lateral g".
const char* colouringName(int colouring);
