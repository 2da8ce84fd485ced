// The ride report: one lap of track 1 ridden off-screen with the train's own step, and what its
// riders feel along it (height, speed, vertical and lateral g, airtime, stalls).
#pragma once

#include <string>
#include <tuple>
#include <vector>

class TrackView;

constexpr double kFramesPerSecond = 59.0;  // the lap time counts the step's frames at this rate
constexpr int kMaxLapFrames = 500000;      // a lap is cut off here (about 2 h 20 min of ride)

// One frame of the lap, where the train stands before that frame's step.
struct RidePlace {
    float u;         // global parameter
    float distance;  // world units along the lap from its start, summed step by step
    float height;    // y of the train
    float speed;     // world units per 100 frames, as the step sets it here
    // Push of the seat along the train's up axis and along its side axis (right of travel), in
    // multiples of |gravity|: 1 and 0 standing on a level track. Both 0 where forcesKnown is false.
    float verticalG;
    float lateralG;
    bool forcesKnown;  // false where the curve or its up side is undefined (stacked points,
                       // a guide point on the track): the place counts in no g figure
    bool stalled;      // the train lacks the energy to be here and creeps (physics on only)
};

struct RideReport {
    bool enoughPoints = false;      // false below 3 points: nothing else is set
    std::vector<RidePlace> places;  // one per frame, from parameter 0 to the last before the wrap
    // False when the train comes to rest (speed 0) or the lap reaches kMaxLapFrames: the figures
    // then describe the part ridden.
    bool lapComplete = true;
    double lapLength = 0;  // world units
    double lapTime = 0;    // seconds
    float minSpeed = 0, maxSpeed = 0;
    float minVerticalG = 0, maxVerticalG = 0;  // 0 and 0 when no place has known forces
    float maxLateralG = 0;                     // largest size of the lateral g, either side
    double airtime = 0;                        // seconds with vertical g below 0
    int stalls = 0;                            // separate stretches of stalled places
};

// Rides the lap on a copy of the train's state (the view is not changed).
RideReport computeRideReport(const TrackView& view);

// What a report depends on: the builds of either ring, the point count (the clear key empties
// the rings without a build), physicsOn, totalEnergy, gravity, trainMass, and trainSpeed while
// physics is off (with physics on the step overwrites it every frame).
using RideReportInputs = std::tuple<unsigned, int, int, float, float, float, float>;
RideReportInputs rideReportInputsOf(const TrackView& view);

// The view's one report, shared by the report window and the track's colours.
struct KeptRideReport {
    RideReport report;
    RideReportInputs inputs = {};  // what report was ridden from
    unsigned rides = 0;            // how often it was ridden; 0: never, so the first use rides it
};

// The lap's place nearest to global parameter u, the ring wrapping from the last place to the
// first. Null where there is none: no places, or u beyond the last place of a lap not completed.
const RidePlace* nearestPlace(const RideReport& report, float u);

// The console lines of a report, each ending in a line break: the six summary lines, or the one
// line that says the track is too short.
std::string rideReportSummary(const RideReport& report);
