// Curve construction: both closed rings from their control points, with track 1's length
// values, maximum height, energy and sample table. The float/double rounding below is part of
// the result (stored files, energies and tie positions follow from it), so keep it as it is.
#include <cmath>
#include <vector>

#include "track/TrackGeometry.h"
#include "track/TrackView.h"

// Kinetic energy term of totalEnergy: half the square of the speed (4) the train has at the top.
static constexpr double kTopSpeedSquared = 16.0;

void TrackView::basisRow(float p0, float p1, float p2, float p3, float out[4]) {
    const double a = p0, b = p1, c = p2, d = p3;
    if (useBSpline == 1) {
        const double sixth = 1.0 / 6.0;
        const double twoThirds = 2.0 / 3.0;
        out[0] = static_cast<float>(-a * sixth + b * 0.5 - c * 0.5 + d * sixth);
        out[1] = static_cast<float>(a * 0.5 - b + c * 0.5);
        out[2] = static_cast<float>(-a * 0.5 + c * 0.5);
        out[3] = static_cast<float>(a * sixth + b * twoThirds + c * sixth);
    } else {
        out[0] = static_cast<float>(-a * 0.5 + 1.5 * b - 1.5 * c + d * 0.5);
        out[1] = static_cast<float>(a - 2.5 * b + 2.0 * c - d * 0.5);
        out[2] = static_cast<float>(-a * 0.5 + c * 0.5);
        out[3] = static_cast<float>(b);
    }
}

// Fills segments 0..n-1 of a ring from its points: segment i from points i-1, i, i+1, i+2 (mod n).
static void buildRing(TrackView& view, ControlPoint* const* ring, CurveSegment* const* segs, int n) {
    for (int i = 0; i < n; ++i) {
        float px[4], py[4], pz[4];
        for (int k = 0; k < 4; ++k) ring[(i - 1 + k + n) % n]->getPosition(&px[k], &py[k], &pz[k]);
        float rowX[4], rowY[4], rowZ[4];
        view.basisRow(px[0], px[1], px[2], px[3], rowX);
        view.basisRow(py[0], py[1], py[2], py[3], rowY);
        view.basisRow(pz[0], pz[1], pz[2], pz[3], rowZ);
        segs[i]->setCoefficients(rowX, rowY, rowZ);
    }
}

static inline float fraction(double v) { return static_cast<float>(v - std::trunc(v)); }

namespace {

// The local parameters the length walk visits on a ring of n segments: pass j evaluates every
// segment at frac(n t_j) and at frac(n (t_j + 0.001)), t_j accumulated in float from 0 while
// below 0.999 (1000 passes). They depend on n alone, so they are worked out once per ring size
// instead of twice per pass per segment on every build (a drag rebuilds on every mouse event).
// Each parameter is kept as its powers t^3, t^2 (rounded as CurveSegment::evaluate rounds them)
// and t, stored apart so the distance loop vectorises.
struct LengthWalk {
    int n = 0;
    std::vector<double> from3, from2, from1, to3, to2, to1;  // float values, held as double
};

void appendPowers(float t, std::vector<double>& p3, std::vector<double>& p2, std::vector<double>& p1) {
    p3.push_back(static_cast<float>((double)t * t * t));
    p2.push_back(static_cast<float>((double)t * t));
    p1.push_back(t);
}

const LengthWalk& lengthWalkFor(int n) {
    static LengthWalk walk;
    if (walk.n == n) return walk;
    walk = LengthWalk();
    walk.n = n;
    float t = 0.0f;
    while (t < 0.999) {
        appendPowers(fraction((double)n * t), walk.from3, walk.from2, walk.from1);
        const double next = (double)t + 0.001;
        appendPowers(fraction(n * next), walk.to3, walk.to2, walk.to1);
        t = static_cast<float>(next);
    }
    return walk;
}

}  // namespace

static inline float distance(float x0, float y0, float z0, float x1, float y1, float z1, float scale) {
    const double dx = (double)x1 - x0, dy = (double)y1 - y0, dz = (double)z1 - z0;
    const float squared = static_cast<float>(dx * dx * scale + dy * dy * scale + dz * dz * scale);
    return static_cast<float>(std::sqrt(static_cast<double>(squared)));
}

// Each segment's length value walks its local parameter n times (t sweeps 0..1 in steps of
// 0.001, the segment is evaluated at frac(n t)), so it is about n times the curve length plus
// n - 1 chords. Tie spacing and the renderer's sample count are tuned to this value. Raises
// maxHeight to the highest point the walk meets.
static void measureLengths(TrackView& view, int n) {
    view.trackLength = 0.0f;
    const LengthWalk& walk = lengthWalkFor(n);
    const int passes = static_cast<int>(walk.from1.size());
    std::vector<float> squares(passes), heights(passes);
    for (int i = 0; i < n; ++i) {
        const float* cx = view.segments[i]->coeffX;
        const float* cy = view.segments[i]->coeffY;
        const float* cz = view.segments[i]->coeffZ;
        // The squared steps are independent of each other; only the running maximum and the
        // sum of the steps (in pass order, rounded to float at every step) are sequential.
        for (int j = 0; j < passes; ++j) {
            const double a3 = walk.from3[j], a2 = walk.from2[j], a1 = walk.from1[j];
            const double b3 = walk.to3[j], b2 = walk.to2[j], b1 = walk.to1[j];
            const float x0 = evaluateCubic(cx, a3, a2, a1);
            const float y0 = evaluateCubic(cy, a3, a2, a1);
            const float z0 = evaluateCubic(cz, a3, a2, a1);
            const float x1 = evaluateCubic(cx, b3, b2, b1);
            const float y1 = evaluateCubic(cy, b3, b2, b1);
            const float z1 = evaluateCubic(cz, b3, b2, b1);
            const double dx = (double)x1 - x0, dy = (double)y1 - y0, dz = (double)z1 - z0;
            heights[j] = y0;
            squares[j] = static_cast<float>(dx * dx + dy * dy + dz * dz);
        }
        float len = 0.0f;
        for (int j = 0; j < passes; ++j) {
            if (heights[j] > view.maxHeight) view.maxHeight = heights[j];
            // The root is taken in double, as C's sqrt does, and rounded only with the sum.
            len = static_cast<float>((double)len + std::sqrt(static_cast<double>(squares[j])));
        }
        view.segments[i]->setLength(len);
        view.trackLength = static_cast<float>((double)view.trackLength + len);
    }
}

// The sample table: track 1 at u = k / 100 and 100 times the distance to the next sample, the
// last entry closing the ring.
static void sampleTrack(TrackView& view, int n) {
    for (int k = 0; k < kNumSamples; ++k) {
        int s;
        float local;
        locateOnTrack(k / 100.0, n, &s, &local);
        view.segments[s]->evaluate(&view.sampleX[k], &view.sampleY[k], &view.sampleZ[k], local);
    }
    for (int k = 0; k < kNumSamples; ++k) {
        const int next = (k + 1) % kNumSamples;
        view.sampleDist[k] = distance(view.sampleX[k], view.sampleY[k], view.sampleZ[k], view.sampleX[next],
                                      view.sampleY[next], view.sampleZ[next], 10000.0f);
    }
}

void TrackView::buildTrack() {
    const int n = numPoints;
    if (n < kMinBuildPoints) return;
    ++buildCount;
    buildRing(*this, points, segments, n);
    measureLengths(*this, n);
    totalEnergy = static_cast<float>((double)trainMass * 0.5 * kTopSpeedSquared +
                                     (-1.0 * trainMass * gravity * maxHeight));
    sampleTrack(*this, n);
}

void TrackView::buildTrack2() {
    if (numPoints < kMinBuildPoints) return;
    ++buildCount;
    buildRing(*this, points2, segments2, numPoints);
}
