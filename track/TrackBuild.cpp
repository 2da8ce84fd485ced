// Curve construction: both closed rings from their control points, with track 1's length
// values, maximum height, energy and sample table. The float/double rounding below is part of
// the result (stored files, energies and tie positions follow from it), so keep it as it is.
#include <cmath>

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

static inline float distance(float x0, float y0, float z0, float x1, float y1, float z1, float scale) {
    const double dx = (double)x1 - x0, dy = (double)y1 - y0, dz = (double)z1 - z0;
    const float squared = static_cast<float>(dx * dx * scale + dy * dy * scale + dz * dz * scale);
    return std::sqrt(squared);
}

void TrackView::buildTrack() {
    const int n = numPoints;
    if (n < kMinBuildPoints) return;
    buildRing(*this, points, segments, n);

    // Each segment's length value walks its local parameter n times (t sweeps 0..1 in steps of
    // 0.001, the segment is evaluated at frac(n t)), so it is about n times the curve length plus
    // n - 1 chords. Tie spacing and the renderer's sample count are tuned to this value.
    trackLength = 0.0f;
    for (int i = 0; i < n; ++i) {
        CurveSegment* seg = segments[i];
        float len = 0.0f;
        float t = 0.0f;
        while (t < 0.999) {
            float x0, y0, z0, x1, y1, z1;
            seg->evaluate(&x0, &y0, &z0, fraction((double)n * t));
            if (y0 > maxHeight) maxHeight = y0;
            const double next = (double)t + 0.001;
            seg->evaluate(&x1, &y1, &z1, fraction(n * next));
            len = static_cast<float>((double)len + distance(x0, y0, z0, x1, y1, z1, 1.0f));
            t = static_cast<float>(next);
        }
        seg->setLength(len);
        trackLength = static_cast<float>((double)trackLength + len);
    }

    totalEnergy = static_cast<float>((double)trainMass * 0.5 * kTopSpeedSquared +
                                     (-1.0 * trainMass * gravity * maxHeight));

    for (int k = 0; k < kNumSamples; ++k) {
        int s;
        float local;
        locateOnTrack(k / 100.0, n, &s, &local);
        segments[s]->evaluate(&sampleX[k], &sampleY[k], &sampleZ[k], local);
    }
    for (int k = 0; k < kNumSamples; ++k) {
        const int next = (k + 1) % kNumSamples;
        sampleDist[k] = distance(sampleX[k], sampleY[k], sampleZ[k], sampleX[next], sampleY[next], sampleZ[next],
                                 10000.0f);
    }
}

void TrackView::buildTrack2() {
    if (numPoints < kMinBuildPoints) return;
    buildRing(*this, points2, segments2, numPoints);
}
