// Global-parameter addressing and the track frames.
#include "track/TrackGeometry.h"

#include <cmath>

#include "track/CurveSegment.h"

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

void ringPointAt(CurveSegment* const* ring, int n, double t, float out[3]) {
    int i;
    float u;
    locateOnTrack(t, n, &i, &u);
    ring[i]->evaluate(&out[0], &out[1], &out[2], u);
}

void ringTangentAt(CurveSegment* const* ring, int n, double t, float out[3]) {
    int i;
    float u;
    locateOnTrack(t, n, &i, &u);
    ring[i]->derivative(&out[0], &out[1], &out[2], u);
}

namespace {

__attribute__((noinline)) double length(const float v[3]) {  // out of line: see productDifference
    const double sum = static_cast<double>(v[0]) * v[0] + static_cast<double>(v[1]) * v[1] +
                       static_cast<double>(v[2]) * v[2];
    return std::sqrt(static_cast<double>(static_cast<float>(sum)));
}

// out = sign * v / |v|
void normalise(const float v[3], double sign, float out[3]) {
    const double len = length(v);
    for (int k = 0; k < 3; ++k) out[k] = static_cast<float>(sign * v[k] / len);
}

// a b - c d, formed in double and rounded to float. Out of line on purpose: GCC 12 at -O2
// vectorises the three differences of an inlined cross product into code whose results differ
// from these expressions in the last bit (-O0, -O1, -O3 and clang agree with them).
__attribute__((noinline)) float productDifference(double a, double b, double c, double d) {
    return static_cast<float>(a * b - c * d);
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = productDifference(a[1], b[2], a[2], b[1]);
    out[1] = productDifference(a[2], b[0], a[0], b[2]);
    out[2] = productDifference(a[0], b[1], a[1], b[0]);
}

bool finite(const float a[3], const float b[3], const float c[3]) {
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(a[k]) || !std::isfinite(b[k]) || !std::isfinite(c[k])) return false;
    return true;
}

// The frame of an undefined case: the tangent's direction where it has one (else +x), up from
// the hint where it has one (else +y), and a world axis across the tangent where the two are
// parallel. Every vector normalised here is longer than 1e-6 or a cross product with a world
// axis across it, so every division is by a positive finite length.
void fallbackFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]) {
    static const float kWorldX[3] = {1, 0, 0}, kWorldY[3] = {0, 1, 0}, kWorldZ[3] = {0, 0, 1};
    constexpr double kMinLength = 1e-6;
    const bool usable = std::isfinite(length(tangent)) && length(tangent) > kMinLength;
    normalise(usable ? tangent : kWorldX, 1.0, forward);
    float hint[3], x[3];
    const bool hintUsable = std::isfinite(length(upHint)) && length(upHint) > kMinLength;
    normalise(hintUsable ? upHint : kWorldY, 1.0, hint);
    cross(forward, hint, x);
    if (!(length(x) > kMinLength)) cross(forward, std::fabs(forward[1]) < 0.9f ? kWorldY : kWorldZ, x);
    normalise(x, 1.0, side);
    float y[3];
    cross(forward, side, y);
    normalise(y, -1.0, up);
}

}  // namespace

bool makeFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]) {
    float hint[3], x[3], y[3];
    normalise(tangent, 1.0, forward);
    normalise(upHint, 1.0, hint);
    cross(forward, hint, x);
    normalise(x, 1.0, side);
    cross(forward, side, y);
    normalise(y, -1.0, up);
    if (finite(forward, side, up)) return true;
    fallbackFrame(tangent, upHint, forward, side, up);
    return false;
}

bool makeTieFrame(const float tangent[3], const float upHint[3], float forward[3], float side[3], float up[3]) {
    float x[3], y[3];
    normalise(tangent, 1.0, forward);
    cross(tangent, upHint, x);
    normalise(x, 1.0, side);
    cross(forward, x, y);
    normalise(y, -1.0, up);
    if (finite(forward, side, up)) return true;
    fallbackFrame(tangent, upHint, forward, side, up);
    return false;
}
