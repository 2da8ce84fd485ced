// Global-parameter addressing and the track frame.
#include "track/TrackGeometry.h"

#include <cmath>

void locateOnTrack(double u, int numSegments, int* segment, float* local) {
    if (!(u > 0.0)) u = 0.0;  // also catches NaN
    const double s = u * numSegments;
    int i = static_cast<int>(s);
    if (i >= numSegments) {
        *segment = numSegments - 1;
        *local = 1.0f;
        return;
    }
    *segment = i;
    *local = static_cast<float>(s - i);
}

// Smallest length that still counts as a direction; below it, the fallback takes over.
static constexpr float kMinDirectionLength = 1e-6f;

static bool normalise(const float v[3], float out[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > kMinDirectionLength) || !std::isfinite(length)) return false;
    out[0] = v[0] / length;
    out[1] = v[1] / length;
    out[2] = v[2] / length;
    return true;
}

static void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool makeFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]) {
    static const float kWorldX[3] = {1, 0, 0};
    static const float kWorldY[3] = {0, 1, 0};
    static const float kWorldZ[3] = {0, 0, 1};
    bool defined = true;

    if (!normalise(tangent, forward)) {
        defined = false;
        for (int k = 0; k < 3; ++k) forward[k] = kWorldX[k];
    }
    float hint[3];
    if (!normalise(upHint, hint)) {
        defined = false;
        for (int k = 0; k < 3; ++k) hint[k] = kWorldY[k];
    }
    float x[3];
    cross(forward, hint, x);
    if (!normalise(x, side)) {
        // The hint runs along the track: stand the frame on the world axis least along it.
        defined = false;
        const float* axis = std::fabs(forward[1]) < 0.9f ? kWorldY : kWorldZ;
        cross(forward, axis, x);
        normalise(x, side);
    }
    float y[3];
    cross(forward, side, y);
    for (int k = 0; k < 3; ++k) y[k] = -y[k];
    normalise(y, up);
    return defined;
}
