// Curve construction: every built value against a build written out plainly, step by step, as it
// is defined, and what a build keeps (the guide ring's basis, the highest height seen).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/support/TrackFixtures.h"

namespace {

constexpr float kEnergyRounding = 0.01f;   // 20.8 is not a float

template <typename T> bool sameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double squared(float a, float b) { return ((double)a - b) * ((double)a - b); }

// A reference build of track 1 on the view's segments: the length walk, the energy and the
// sample table, each value stored as a float, products and sums formed in double.
struct ReferenceBuild {
    float lengths[100], trackLength = 0, maxHeight = std::numeric_limits<float>::lowest(), energy;
    float x[100], y[100], z[100], dist[100];

    explicit ReferenceBuild(const TrackView& view) {
        const int n = view.numPoints;
        for (int i = 0; i < n; ++i) {
            float len = 0, t = 0, x0, y0, z0, x1, y1, z1;
            while (t < 0.999) {
                const double a = n * (double)t, b = n * (t + 0.001);
                view.segments[i]->evaluate(&x0, &y0, &z0, static_cast<float>(a - std::trunc(a)));
                maxHeight = std::max(maxHeight, y0);
                view.segments[i]->evaluate(&x1, &y1, &z1, static_cast<float>(b - std::trunc(b)));
                len = float(len + std::sqrt((double)float(squared(x1, x0) + squared(y1, y0) + squared(z1, z0))));
                t = static_cast<float>(t + 0.001);
            }
            lengths[i] = len, trackLength = static_cast<float>(trackLength + (double)len);
        }
        energy = static_cast<float>(view.trainMass * 0.5 * 16.0 + (-1.0 * view.trainMass * view.gravity * maxHeight));
        for (int k = 0, s = 0; k < 100; s = static_cast<int>(std::trunc(++k / 100.0 * n)))
            view.segments[s]->evaluate(&x[k], &y[k], &z[k], static_cast<float>(k / 100.0 * n - s));
        for (int k = 0, j = 1; k < 100; ++k, j = (k + 1) % 100)
            dist[k] = static_cast<float>(std::sqrt((double)static_cast<float>(
                squared(x[j], x[k]) * 10000.0f + squared(y[j], y[k]) * 10000.0f + squared(z[j], z[k]) * 10000.0f)));
    }
};

// Random rings of 3, 20 and 100 points and three stacked ones, in both bases; fewer than three
// points then build nothing.
TEST(TrackBuild, EveryBuiltValueEqualsTheReferenceBuildBitForBit) {
    unsigned seed = 12345;
    auto random = [&seed] { return (seed = seed * 1103515245u + 12345u) % 20000 / 1000.0f - 10.0f; };
    std::vector<std::vector<Point3>> rings = {std::vector<Point3>(3, {{0, 0.125f, 0}})};
    for (int n : {3, 20, 100})
        for (Point3& p : rings.emplace_back(n)) p = {{random(), random(), random()}};
    for (const auto& ring : rings)
        for (int basis : {0, 1}) {
            TrackView view(0, 0, 100, 100);
            view.useBSpline = basis, buildRing(view, ring);
            const ReferenceBuild reference(view);
            for (std::size_t i = 0; i < ring.size(); ++i)
                EXPECT_TRUE(sameBits(view.segments[i]->length, reference.lengths[i])) << ring.size() << " points, " << i;
            EXPECT_TRUE(sameBits(view.trackLength, reference.trackLength) && sameBits(view.maxHeight, reference.maxHeight) &&
                        sameBits(view.totalEnergy, reference.energy) && sameBits(view.sampleX, reference.x) &&
                        sameBits(view.sampleY, reference.y) && sameBits(view.sampleZ, reference.z) &&
                        sameBits(view.sampleDist, reference.dist)) << ring.size() << " points, basis " << basis;
            buildRing(view, {ring[0], ring[1]});
            EXPECT_TRUE(sameBits(view.trackLength, reference.trackLength) && sameBits(view.sampleDist, reference.dist));
        }
}

// A build of track 1 in the other basis leaves the guide ring as it was until its own build; the
// highest point a build has seen stays the height of the energy when the track is lowered again.
TEST(TrackBuild, TheGuideRingWaitsForItsOwnBuildAndTheHighestHeightSeenStays) {
    TrackView view(0, 0, 100, 100);
    view.useBSpline = 0, buildRing(view, groundSquare());  // Catmull-Rom runs through its points
    const CurveSegment guide = *view.segments2[2];
    view.useBSpline = 1, view.buildTrack(), view.useBSpline = 0;
    EXPECT_TRUE(sameBits(guide, *view.segments2[2]));
    for (float y : {10.0f, 2.0f}) {
        view.points[1]->setPosition(10.0f, y, 0.0f), view.buildTrack();
        EXPECT_TRUE(view.maxHeight == 10.0f && std::fabs(view.totalEnergy - 21600.0f) < kEnergyRounding) << y;  // 800 + 100 x 20.8 x 10
    }
}

}  // namespace
