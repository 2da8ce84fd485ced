// The train's step along track 1: its speed (constant, or from the energy it has at its height),
// the advance of its global parameter at an even pace in space, and its position, tangent and up
// hint at the new place.
#include <cmath>

#include "track/TrackGeometry.h"
#include "track/TrackView.h"

// Speed of a train that lacks the energy to be where it is: it creeps on instead of stopping.
static constexpr float kCreepSpeed = 2.0f;
// trainSpeed is in world units per 100 frames.
static constexpr double kStepPerSpeed = 0.01;

// Index of the sample-table entry (hundredth of the parameter range) that holds u in [0, 1).
static int hundredthOf(float u) { return static_cast<int>(static_cast<double>(u) * kNumSamples); }

// The first parameter of hundredth k + 1 (1 after the last), as a float that really lies in it.
static float startOfNextHundredth(int k) {
    float boundary = static_cast<float>((k + 1) / static_cast<double>(kNumSamples));
    while (hundredthOf(boundary) <= k) boundary = std::nextafter(boundary, 2.0f);
    return boundary;
}

// Moves u by distance world units, measuring every hundredth by its own chord (sampleDist is the
// chord times 100, that is world units per unit of u). Past the end of the track the train is
// exactly at the start and the rest is dropped.
static float walk(const float sampleDist[kNumSamples], float u, double distance) {
    for (int k = hundredthOf(u); k < kNumSamples; ++k) {
        const float end = startOfNextHundredth(k);
        const double room = (static_cast<double>(end) - u) * sampleDist[k];
        if (sampleDist[k] > 0.0f && distance <= room) {
            const float next = static_cast<float>(u + distance / sampleDist[k]);
            return next < 1.0f ? next : 0.0f;
        }
        distance -= room;
        u = end;
    }
    return 0.0f;
}

// The parameter one step of speed moves u to: u + speed / sampleDist[k] x 0.01, k the hundredth
// of u. sampleDist is the chord of that hundredth times 100, so the step covers about speed / 100
// world units however the parameter is stretched there. At or past the end the train is exactly
// at the start and the rest of the step is dropped.
static float stepParameter(const float sampleDist[kNumSamples], float u, float speed) {
    const double advance = speed / static_cast<double>(sampleDist[hundredthOf(u)]) * kStepPerSpeed;
    const float next = static_cast<float>(u + advance);
    if (std::isfinite(advance) && next < 1.0f) return next;
    // A hundredth of no length (points stacked on one spot, as three presses of the add key leave
    // them) makes the step infinite, and a very short one can make it leap from the middle of the
    // track past the end; thrown back to the start each time, the train would never pass there.
    // So such a step is measured hundredth by hundredth: a train that reaches the last hundredth
    // or beyond starts the lap again (as any step past the end does), any other goes on.
    const float walked = walk(sampleDist, u, speed * kStepPerSpeed);
    return hundredthOf(walked) == kNumSamples - 1 ? 0.0f : walked;
}

void TrackView::advanceTrain() { stepTrain(trainU, trainSpeed, trainPos, trainTangent, trainUp); }

float TrackView::speedRadicand(float y) const {
    return static_cast<float>(2.0 * totalEnergy / trainMass - (2.0 * gravity) * (-1.0 * y));
}

// The parameters carry the names of the fields they stand for, so the step reads the same
// whether it moves the real train or a copy of its state.
void TrackView::stepTrain(float& trainU, float& trainSpeed, float trainPos[3], float trainTangent[3],
                          float trainUp[3]) const {
    const int n = numPoints;
    if (n < 1) return;  // no segment to ride

    // Speed from energy conservation: v^2 = 2E/m + 2 g y (g is negative).
    if (physicsOn == 1) {
        const float r = speedRadicand(trainPos[1]);
        trainSpeed = r >= 0.0f ? std::sqrt(r) : kCreepSpeed;  // NaN counts as lacking energy too
    }

    // A parameter outside [0, 1) (only reachable through a bad value from elsewhere) would index
    // outside the sample table: restart at the beginning of the track.
    if (!(trainU >= 0.0f && trainU < 1.0f)) trainU = 0.0f;

    if (trainSpeed > 0.0f) trainU = stepParameter(sampleDist, trainU, trainSpeed);  // at 0 it stays put

    placeOnTrack(trainU, trainPos, trainTangent, trainUp);
}

void TrackView::placeOnTrack(float trainU, float trainPos[3], float trainTangent[3], float trainUp[3]) const {
    const int n = numPoints;
    int i;
    float s;
    locateOnTrack(trainU, n, &i, &s);
    segments[i]->evaluate(&trainPos[0], &trainPos[1], &trainPos[2], s);
    segments[i]->derivative(&trainTangent[0], &trainTangent[1], &trainTangent[2], s);
    float guide[3];
    segments2[i]->evaluate(&guide[0], &guide[1], &guide[2], s);
    for (int c = 0; c < 3; ++c) trainUp[c] = guide[c] - trainPos[c];
}
