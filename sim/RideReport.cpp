// The ride report's lap: the train's own step on a copy of its state, from parameter 0 until the
// step wraps, and the forces on the riders at every frame.
//
// Units. A step moves the train speed / 100 world units, so speeds are world units per 100
// frames; call that time unit τ. The energy rule v² = 2E/m + 2·g·y uses the same v, so gravity
// is in world units per τ². The curvature κ is in 1 / world units, so v²κ, a_t and g are all in
// world units per τ², and f·Û / |g| and f·Ŝ / |g| are pure numbers. On a level ring of radius R
// with the guide ring above, Û = +y is at right angles to κ and T̂, so f·Û = −g = |g| gives a
// vertical g of 1, and f·Ŝ = v²/R gives a lateral g of v²/(R·|g|). The lap time counts frames
// at 59 per second; τ does not enter it.
#include "sim/RideReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "track/TrackGeometry.h"
#include "track/TrackView.h"

namespace {

// The train's state that one step changes.
struct TrainCopy {
    float u;
    float speed;
    float pos[3];
    float tangent[3];
    float up[3];
};

double dot(const double a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Vertical and lateral g of a rider at the train's place: f = v²κ + a_t T̂ − (0, g, 0) on the up
// and side axes of the frame the ride views build. False where that frame or the curvature is
// undefined (no tangent, no up side) or the figures would not be finite.
bool forcesAt(const TrackView& view, const TrainCopy& train, RidePlace* place) {
    float T[3], S[3], U[3];
    if (!makeFrame(train.tangent, train.up, T, S, U) || !(std::fabs(view.gravity) > 0.0f)) return false;
    int i;
    float t;
    locateOnTrack(train.u, view.numPoints, &i, &t);
    const CurveSegment& segment = *view.segments[i];
    const float* rows[3] = {segment.coeffX, segment.coeffY, segment.coeffZ};
    // r' and r'' with respect to the local parameter t. With ds/dt = |r'| and T̂ = r'/|r'|, the
    // second derivative with respect to arc length is κ = (r'' − (r''·T̂)T̂) / |r'|², so the
    // parameter's own pace drops out.
    double d1[3], d2[3];
    for (int c = 0; c < 3; ++c) {
        d1[c] = 3.0 * rows[c][0] * t * t + 2.0 * rows[c][1] * t + rows[c][2];
        d2[c] = 6.0 * rows[c][0] * t + 2.0 * rows[c][1];
    }
    const double pace2 = d1[0] * d1[0] + d1[1] * d1[1] + d1[2] * d1[2];
    const double along = dot(d2, T);
    // The speed changes along the track by the part of gravity along it, unless it is held.
    const double at = view.physicsOn == 1 && !place->stalled ? static_cast<double>(view.gravity) * T[1] : 0.0;
    const double v2 = static_cast<double>(train.speed) * train.speed;
    double f[3];
    for (int c = 0; c < 3; ++c) f[c] = v2 * (d2[c] - along * T[c]) / pace2 + at * T[c];
    f[1] -= view.gravity;
    place->verticalG = static_cast<float>(dot(f, U) / std::fabs(view.gravity));
    place->lateralG = static_cast<float>(dot(f, S) / std::fabs(view.gravity));
    if (std::isfinite(place->verticalG) && std::isfinite(place->lateralG)) return true;
    place->verticalG = place->lateralG = 0.0f;
    return false;
}

double distanceBetween(const float a[3], const float b[3]) {
    const double d[3] = {static_cast<double>(b[0]) - a[0], static_cast<double>(b[1]) - a[1],
                         static_cast<double>(b[2]) - a[2]};
    return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

// Steps a copy of the train from parameter 0 until the step wraps to the start.
void rideLap(const TrackView& view, RideReport* report) {
    TrainCopy train{0.0f, view.trainSpeed, {}, {}, {}};
    view.placeOnTrack(train.u, train.pos, train.tangent, train.up);
    double distance = 0.0;
    for (int frame = 1; frame <= kMaxLapFrames; ++frame) {
        TrainCopy here = train;
        view.stepTrain(train.u, train.speed, train.pos, train.tangent, train.up);
        // The step set the speed from this place's height before it moved on.
        RidePlace place{here.u, static_cast<float>(distance), here.pos[1], train.speed, 0.0f, 0.0f, false, false};
        place.stalled = view.physicsOn == 1 && !(view.speedRadicand(here.pos[1]) >= 0.0f);
        here.speed = train.speed;
        place.forcesKnown = forcesAt(view, here, &place);
        report->places.push_back(place);
        distance += distanceBetween(here.pos, train.pos);
        report->lapLength = distance;
        report->lapTime = frame / kFramesPerSecond;
        // Wrapped: the lap is complete. On points stacked on one spot every step wraps at once.
        if (train.u < here.u || (train.u == 0.0f && train.speed > 0.0f)) return;
        if (train.u == here.u) break;  // at rest: it never gets round
    }
    report->lapComplete = false;
}

void summarise(RideReport* report) {
    const std::vector<RidePlace>& places = report->places;
    report->minSpeed = report->maxSpeed = places[0].speed;
    bool anyForces = false;
    int airFrames = 0;
    for (size_t j = 0; j < places.size(); ++j) {
        const RidePlace& p = places[j];
        report->minSpeed = std::fmin(report->minSpeed, p.speed);
        report->maxSpeed = std::fmax(report->maxSpeed, p.speed);
        // The lap is a ring: a stall that runs over the start is one stretch.
        if (p.stalled && !places[j > 0 ? j - 1 : places.size() - 1].stalled) ++report->stalls;
        if (!p.forcesKnown) continue;
        if (!anyForces) report->minVerticalG = report->maxVerticalG = p.verticalG;
        anyForces = true;
        report->minVerticalG = std::fmin(report->minVerticalG, p.verticalG);
        report->maxVerticalG = std::fmax(report->maxVerticalG, p.verticalG);
        report->maxLateralG = std::fmax(report->maxLateralG, std::fabs(p.lateralG));
        if (p.verticalG < 0.0f) ++airFrames;
    }
    if (report->stalls == 0 && places[0].stalled) report->stalls = 1;  // stalled all the way round
    report->airtime = airFrames / kFramesPerSecond;
}

}  // namespace

RideReport computeRideReport(const TrackView& view) {
    RideReport report;
    if (view.numPoints < kMinBuildPoints) return report;
    report.enoughPoints = true;
    rideLap(view, &report);
    summarise(&report);
    return report;
}

RideReportInputs rideReportInputsOf(const TrackView& v) {
    return {v.buildCount, v.numPoints, v.physicsOn, v.totalEnergy, v.gravity, v.trainMass,
            v.physicsOn == 1 ? 0.0f : v.trainSpeed};
}

const KeptRideReport& TrackView::currentRideReport() {
    const RideReportInputs now = rideReportInputsOf(*this);
    if (keptRideReport.rides > 0 && now == keptRideReport.inputs) return keptRideReport;
    keptRideReport.report = computeRideReport(*this);
    keptRideReport.inputs = now;
    ++keptRideReport.rides;
    return keptRideReport;
}

const RidePlace* nearestPlace(const RideReport& report, float u) {
    const std::vector<RidePlace>& places = report.places;
    if (places.empty() || (!report.lapComplete && u > places.back().u)) return nullptr;
    const auto after = std::upper_bound(places.begin(), places.end(), u,
                                        [](float value, const RidePlace& p) { return value < p.u; });
    if (after == places.begin()) return &places.front();
    // Past the last place the lap's start comes round again, one turn on.
    const RidePlace& next = after == places.end() ? places.front() : *after;
    const double nextU = after == places.end() ? places.front().u + 1.0 : after->u;
    const RidePlace& before = *(after - 1);
    return static_cast<double>(u) - before.u <= nextU - u ? &before : &next;
}

std::string rideReportSummary(const RideReport& report) {
    if (!report.enoughPoints) return "ride report: needs 3 points or more\n";
    char text[512];
    std::snprintf(text, sizeof text,
                  "ride report: lap length %f, lap time %f s\n"
                  "speed: min %f max %f\n"
                  "vertical g: min %f max %f\n"
                  "lateral g: max %f\n"
                  "airtime: %f s\n"
                  "stalls: %d\n",
                  report.lapLength, report.lapTime, report.minSpeed, report.maxSpeed, report.minVerticalG,
                  report.maxVerticalG, report.maxLateralG, report.airtime, report.stalls);
    return text;
}
