// Curve construction: segments, length values, maximum height, energy and the sample table,
// checked against hand-worked numbers and independent calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/support/TrackFixtures.h"

namespace {

constexpr float kExact = 1e-5f;        // values that only differ by float rounding
constexpr float kLengthTolerance = 0.05f;  // the hand-worked lengths are given to 3-4 digits

double distance(const Point3& a, const Point3& b) {
    return std::sqrt(std::pow(a[0] - b[0], 2.0) + std::pow(a[1] - b[1], 2.0) + std::pow(a[2] - b[2], 2.0));
}

Point3 segmentPoint(const TrackView& view, int i, float t) {
    Point3 p;
    view.segments[i]->evaluate(&p[0], &p[1], &p[2], t);
    return p;
}

// Geometric length of segment i by fine summation in double.
double curveLength(const TrackView& view, int i) {
    double length = 0;
    Point3 previous = segmentPoint(view, i, 0.0f);
    for (int k = 1; k <= 20000; ++k) {
        const Point3 p = segmentPoint(view, i, static_cast<float>(k / 20000.0));
        length += distance(previous, p);
        previous = p;
    }
    return length;
}

TEST(TrackBuild, CatmullRomSquareStartsAtEachPointAndHasTheWorkedLengthValues) {
    TrackView view(0, 0, 100, 100);
    view.useBSpline = 0;
    buildRing(view, groundSquare());
    const auto square = groundSquare();
    for (int i = 0; i < 4; ++i) {
        const Point3 start = segmentPoint(view, i, 0.0f);
        const Point3 end = segmentPoint(view, i, 0.9999f);
        EXPECT_EQ(start, square[i]) << "segment " << i;
        EXPECT_LT(distance(end, square[(i + 1) % 4]), 0.01) << "segment " << i;
        float length;
        view.segments[i]->getLength(&length);
        EXPECT_NEAR(length, 71.9f, kLengthTolerance) << "segment " << i;
    }
    EXPECT_NEAR(view.trackLength, 287.6f, 4 * kLengthTolerance);
}

TEST(TrackBuild, BSplineSquareStartsNearEachPointAndHasTheWorkedLengthValues) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    const auto p = groundSquare();
    for (int i = 0; i < 4; ++i) {
        const Point3& a = p[(i + 3) % 4];
        const Point3& b = p[i];
        const Point3& c = p[(i + 1) % 4];
        const Point3 start = segmentPoint(view, i, 0.0f);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(start[k], (a[k] + 4 * b[k] + c[k]) / 6.0f, kExact);
        float length;
        view.segments[i]->getLength(&length);
        EXPECT_NEAR(length, 49.06f, kLengthTolerance);
    }
    EXPECT_NEAR(view.trackLength, 196.2f, 4 * kLengthTolerance);
}

// The length value walks the segment n times and adds the n - 1 jumps from its end back to its
// start: about n times the curve length plus n - 1 chords, whatever the shape.
TEST(TrackBuild, LengthValueIsNTimesTheCurvePlusNMinusOneChords) {
    for (int basis : {0, 1}) {
        TrackView view(0, 0, 100, 100);
        view.useBSpline = basis;
        buildRing(view, {{{0, 1, 0}}, {{7, 3, -2}}, {{9, 0, 8}}, {{2, 5, 11}}, {{-4, 2, 4}}});
        const int n = view.numPoints;
        for (int i = 0; i < n; ++i) {
            const double curve = curveLength(view, i);
            const double chord = distance(segmentPoint(view, i, 0.0f), segmentPoint(view, i, 1.0f));
            float length;
            view.segments[i]->getLength(&length);
            // The walk stops 0.001 short of the end and samples the curve in n * 0.001 steps.
            EXPECT_NEAR(length, n * curve + (n - 1) * chord, 0.01 * length) << "basis " << basis << " seg " << i;
            EXPECT_GE(curve, chord);
        }
    }
}

TEST(TrackBuild, FirstBuildOnTheGroundGivesMaxHeightZeroAndEnergy800) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    EXPECT_EQ(view.maxHeight, 0.0f);
    EXPECT_FLOAT_EQ(view.totalEnergy, 800.0f);
}

TEST(TrackBuild, MaxHeightRisesButNeverFallsAndEnergyFollowsIt) {
    TrackView view(0, 0, 100, 100);
    view.useBSpline = 0;  // Catmull-Rom passes through its points: the highest sample is the point
    auto track = groundSquare();
    track[1][1] = 10.0f;
    buildRing(view, track);
    EXPECT_NEAR(view.maxHeight, 10.0f, kExact);
    EXPECT_NEAR(view.totalEnergy, 800.0f + 100.0f * 20.8f * 10.0f, 0.01f);  // 21600

    view.points[1]->setPosition(10.0f, 2.0f, 0.0f);
    view.buildTrack();
    EXPECT_NEAR(view.maxHeight, 10.0f, kExact);
    EXPECT_NEAR(view.totalEnergy, 21600.0f, 0.01f);

    view.points[1]->setPosition(10.0f, 12.0f, 0.0f);
    view.gravity = -10.0f;
    view.buildTrack();
    EXPECT_NEAR(view.maxHeight, 12.0f, kExact);
    EXPECT_NEAR(view.totalEnergy, 800.0f + 100.0f * 10.0f * 12.0f, 0.01f);
}

TEST(TrackBuild, ThreePointsMakeThreeSegmentsFromTheWrappedNeighbours) {
    TrackView view(0, 0, 100, 100);
    const std::vector<Point3> p = {{{1, 2, 3}}, {{-4, 5, 6}}, {{7, -8, 9}}};
    buildRing(view, p);
    const int order[3][4] = {{2, 0, 1, 2}, {0, 1, 2, 0}, {1, 2, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        float expected[3][4], actual[3][4];
        for (int axis = 0; axis < 3; ++axis) {
            const int* o = order[i];
            view.basisRow(p[o[0]][axis], p[o[1]][axis], p[o[2]][axis], p[o[3]][axis], expected[axis]);
        }
        view.segments[i]->getCoefficients(actual[0], actual[1], actual[2]);
        EXPECT_EQ(0, std::memcmp(expected, actual, sizeof expected)) << "segment " << i;
    }
}

TEST(TrackBuild, SampleTableFollowsTheCurveAndItsLastDistanceClosesTheRing) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, circle(7, 6.0f, 2.0f));
    for (int k = 0; k < kNumSamples; ++k) {
        const Point3 expected = pointAt(view.segments, 7, k / 100.0);
        EXPECT_NEAR(view.sampleX[k], expected[0], 1e-4f);
        EXPECT_NEAR(view.sampleY[k], expected[1], 1e-4f);
        EXPECT_NEAR(view.sampleZ[k], expected[2], 1e-4f);
        const int next = (k + 1) % kNumSamples;
        const double d = 100.0 * distance({{view.sampleX[k], view.sampleY[k], view.sampleZ[k]}},
                                          {{view.sampleX[next], view.sampleY[next], view.sampleZ[next]}});
        EXPECT_NEAR(view.sampleDist[k], d, 1e-3);
        EXPECT_GT(view.sampleDist[k], 0.0f);
    }
}

TEST(TrackBuild, TogglingTheBasisAndRebuildingTrackOneLeavesTheGuideRingAlone) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    CurveSegment before = *view.segments2[2];
    CurveSegment trackBefore = *view.segments[2];
    view.useBSpline = 0;
    view.buildTrack();
    EXPECT_EQ(0, std::memcmp(&before, view.segments2[2], sizeof before));
    EXPECT_NE(0, std::memcmp(&trackBefore, view.segments[2], sizeof trackBefore));
    view.buildTrack2();
    EXPECT_NE(0, std::memcmp(&before, view.segments2[2], sizeof before));
}

TEST(TrackBuild, FewerThanThreePointsChangeNothing) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    TrackView reference(0, 0, 100, 100);
    buildRing(reference, groundSquare());
    // Two new points with their own fresh segments: nothing of the old build may move.
    setRing(view, {{{50, 50, 50}}, {{-50, 60, 0}}});
    for (int i = 0; i < 2; ++i) view.segments[i]->setLength(-1.0f);
    view.buildTrack();
    view.buildTrack2();
    float length;
    view.segments[0]->getLength(&length);
    EXPECT_EQ(length, -1.0f);
    EXPECT_EQ(view.segments[1]->coeffX[3], 0.0f);
    EXPECT_EQ(view.segments2[1]->coeffY[3], 0.0f);
    EXPECT_EQ(view.trackLength, reference.trackLength);
    EXPECT_EQ(view.maxHeight, reference.maxHeight);
    EXPECT_EQ(view.totalEnergy, reference.totalEnergy);
    EXPECT_EQ(0, std::memcmp(view.sampleDist, reference.sampleDist, sizeof view.sampleDist));
}

TEST(TrackBuild, CoincidentPointsGiveZeroLengthsWithoutNaN) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, {{{0, 0.125f, 0}}, {{0, 0.125f, 0}}, {{0, 0.125f, 0}}});
    EXPECT_EQ(view.trackLength, 0.0f);
    for (int k = 0; k < kNumSamples; ++k) EXPECT_EQ(view.sampleDist[k], 0.0f);
    EXPECT_NEAR(view.maxHeight, 0.125f, kExact);
    EXPECT_TRUE(std::isfinite(view.totalEnergy));
}

}  // namespace

namespace {

// The length walk written out plainly, one evaluate call per point: the build must give the
// same bits whatever it precomputes.
float literalLengthValue(const CurveSegment& seg, int n, float* maxHeight) {
    float len = 0.0f;
    float t = 0.0f;
    while (t < 0.999) {
        float x0, y0, z0, x1, y1, z1;
        const double a = (double)n * t;
        seg.evaluate(&x0, &y0, &z0, static_cast<float>(a - std::trunc(a)));
        if (y0 > *maxHeight) *maxHeight = y0;
        const double next = (double)t + 0.001;
        const double b = n * next;
        seg.evaluate(&x1, &y1, &z1, static_cast<float>(b - std::trunc(b)));
        const double dx = (double)x1 - x0, dy = (double)y1 - y0, dz = (double)z1 - z0;
        len = static_cast<float>((double)len + std::sqrt(static_cast<float>(dx * dx + dy * dy + dz * dz)));
        t = static_cast<float>(next);
    }
    return len;
}

TEST(TrackBuild, LengthValuesAndMaxHeightMatchTheLiteralWalkBitForBit) {
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<float>((seed >> 8) % 20000) / 1000.0f - 10.0f;
    };
    for (int n : {3, 4, 7, 20, 100}) {
        for (int basis : {0, 1}) {
            std::vector<Point3> track;
            for (int i = 0; i < n; ++i) track.push_back({{next(), next(), next()}});
            TrackView view(0, 0, 100, 100);
            view.useBSpline = basis;
            buildRing(view, track);
            float maxHeight = std::numeric_limits<float>::lowest();
            float total = 0.0f;
            for (int i = 0; i < n; ++i) {
                float length;
                view.segments[i]->getLength(&length);
                const float expected = literalLengthValue(*view.segments[i], n, &maxHeight);
                ASSERT_EQ(length, expected) << n << " points, basis " << basis << ", segment " << i;
                total = static_cast<float>((double)total + expected);
            }
            EXPECT_EQ(view.trackLength, total);
            EXPECT_EQ(view.maxHeight, maxHeight);
        }
    }
}

}  // namespace
