// Curve construction: the hand-worked numbers of a square, and every built value against a build
// written out plainly, step by step, as the construction is defined.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/support/TrackFixtures.h"

namespace {

constexpr float kLengthTolerance = 0.05f;  // the hand-worked lengths are given to 3-4 digits

template <typename T>
bool sameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The whole build of track 1, literally: basis rows summed left to right in double, the length
// walk, the energy and the sample table, every value rounded to float where it is stored.
struct LiteralBuild {
    std::vector<CurveSegment> segs;
    std::vector<float> lengths;
    float trackLength = 0, maxHeight = std::numeric_limits<float>::lowest(), energy = 0;
    float x[100], y[100], z[100], dist[100];

    LiteralBuild(const std::vector<Point3>& p, bool bspline, double mass, double gravity) {
        const int n = static_cast<int>(p.size());
        for (int i = 0; i < n; ++i) {
            float rows[3][4];
            for (int c = 0; c < 3; ++c) {
                const double a = p[(i + n - 1) % n][c], b = p[i][c], d = p[(i + 1) % n][c], e = p[(i + 2) % n][c];
                const double sixth = 1.0 / 6.0, twoThirds = 2.0 / 3.0;
                const double row[2][4] = {
                    {-a / 2 + 1.5 * b - 1.5 * d + e / 2, a - 2.5 * b + 2 * d - e / 2, -a / 2 + d / 2, b},
                    {-a * sixth + b / 2 - d / 2 + e * sixth, a / 2 - b + d / 2, -a / 2 + d / 2,
                     a * sixth + b * twoThirds + d * sixth}};
                for (int k = 0; k < 4; ++k) rows[c][k] = static_cast<float>(row[bspline][k]);
            }
            segs.emplace_back();
            segs[i].setCoefficients(rows[0], rows[1], rows[2]);
            float len = 0, t = 0, x0, y0, z0, x1, y1, z1;
            while (t < 0.999) {
                const double a = n * (double)t;
                segs[i].evaluate(&x0, &y0, &z0, static_cast<float>(a - std::trunc(a)));
                if (y0 > maxHeight) maxHeight = y0;
                const double b = n * (t + 0.001);
                segs[i].evaluate(&x1, &y1, &z1, static_cast<float>(b - std::trunc(b)));
                const float squares = static_cast<float>(std::pow((double)x1 - x0, 2) + std::pow((double)y1 - y0, 2) +
                                                         std::pow((double)z1 - z0, 2));
                len = static_cast<float>(len + std::sqrt((double)squares));
                t = static_cast<float>(t + 0.001);
            }
            lengths.push_back(len);
            trackLength = static_cast<float>(trackLength + (double)len);
        }
        energy = static_cast<float>(mass * 0.5 * 16.0 + (-1.0 * mass * gravity * maxHeight));
        for (int k = 0; k < 100; ++k) {
            const double u = k / 100.0;
            const int s = static_cast<int>(std::trunc(u * n));
            segs[s].evaluate(&x[k], &y[k], &z[k], static_cast<float>(u * n - s));
        }
        for (int k = 0; k < 100; ++k) {
            const int j = (k + 1) % 100;
            const float squares = static_cast<float>(std::pow((double)x[j] - x[k], 2) * 10000.0f +
                                                     std::pow((double)y[j] - y[k], 2) * 10000.0f +
                                                     std::pow((double)z[j] - z[k], 2) * 10000.0f);
            dist[k] = static_cast<float>(std::sqrt((double)squares));
        }
    }
};

TEST(TrackBuild, EveryBuiltValueEqualsTheLiteralBuildBitForBit) {
    unsigned seed = 12345;
    auto random = [&seed] { return (seed = seed * 1103515245u + 12345u) % 20000 / 1000.0f - 10.0f; };
    std::vector<std::vector<Point3>> rings = {groundSquare(), circle(7, 6.0f, 2.0f), std::vector<Point3>(3, {{0, 0.125f, 0}}),
                                              {{{0, 1, 0}}, {{7, 3, -2}}, {{9, 0, 8}}, {{2, 5, 11}}, {{-4, 2, 4}}}};
    for (int n : {3, 20, 100}) {
        rings.emplace_back();
        for (int i = 0; i < n; ++i) rings.back().push_back({{random(), random(), random()}});
    }
    for (const auto& ring : rings) {
        for (int basis : {0, 1}) {
            TrackView view(0, 0, 100, 100);
            view.useBSpline = basis;
            buildRing(view, ring);
            const LiteralBuild literal(ring, basis == 1, view.trainMass, view.gravity);
            const std::string label = std::to_string(ring.size()) + " points, basis " + std::to_string(basis);
            for (std::size_t i = 0; i < ring.size(); ++i) {
                float length;
                view.segments[i]->getLength(&length);
                ASSERT_TRUE(sameBits(view.segments[i]->coeffX, literal.segs[i].coeffX) &&
                            sameBits(view.segments[i]->coeffY, literal.segs[i].coeffY) &&
                            sameBits(view.segments[i]->coeffZ, literal.segs[i].coeffZ) &&
                            sameBits(length, literal.lengths[i])) << label << ", segment " << i;
            }
            EXPECT_TRUE(sameBits(view.trackLength, literal.trackLength) && sameBits(view.maxHeight, literal.maxHeight) &&
                        sameBits(view.totalEnergy, literal.energy)) << label;
            EXPECT_TRUE(sameBits(view.sampleX, literal.x) && sameBits(view.sampleY, literal.y) &&
                        sameBits(view.sampleZ, literal.z) && sameBits(view.sampleDist, literal.dist)) << label;
            // Fewer than three points: nothing is built, nothing changes.
            setRing(view, {ring[0], ring[1]});
            view.buildTrack();
            EXPECT_TRUE(sameBits(view.trackLength, literal.trackLength) && sameBits(view.sampleDist, literal.dist));
        }
    }
}

// Catmull-Rom passes through its points, the B-spline starts at (p[i-1] + 4 p[i] + p[i+1]) / 6;
// the length value walks each segment n times plus n - 1 chords back to its start.
TEST(TrackBuild, GroundSquareHasTheHandWorkedStartsLengthsHeightAndEnergy) {
    const struct { int basis; float start1x, start1z, length, total; } cases[] = {
        {0, 10.0f, 0.0f, 71.9f, 287.6f}, {1, 50.0f / 6, 10.0f / 6, 49.06f, 196.2f}};
    for (const auto& c : cases) {
        TrackView view(0, 0, 100, 100);
        view.useBSpline = c.basis;
        buildRing(view, groundSquare());
        float x, y, z, length;
        view.segments[1]->evaluate(&x, &y, &z, 0.0f);
        EXPECT_FLOAT_EQ(x, c.start1x);
        EXPECT_FLOAT_EQ(z + 1.0f, c.start1z + 1.0f);
        view.segments[2]->getLength(&length);
        EXPECT_NEAR(length, c.length, kLengthTolerance) << "basis " << c.basis;
        EXPECT_NEAR(view.trackLength, c.total, 4 * kLengthTolerance);
        EXPECT_EQ(view.maxHeight, 0.0f);
        EXPECT_EQ(view.totalEnergy, 800.0f);
    }
}

TEST(TrackBuild, MaxHeightRisesButNeverFallsAndEnergyFollowsIt) {
    TrackView view(0, 0, 100, 100);
    view.useBSpline = 0;  // through its points: the highest sample is the raised point
    buildRing(view, groundSquare());
    for (float y : {10.0f, 2.0f}) {
        view.points[1]->setPosition(10.0f, y, 0.0f);
        view.buildTrack();
        EXPECT_EQ(view.maxHeight, 10.0f);
        EXPECT_FLOAT_EQ(view.totalEnergy, 21600.0f);  // 800 + 100 x 20.8 x 10
    }
}

TEST(TrackBuild, RebuildingTrackOneInTheOtherBasisLeavesTheGuideRingUntilItsOwnBuild) {
    TrackView view(0, 0, 100, 100);
    buildRing(view, groundSquare());
    const CurveSegment guide = *view.segments2[2];
    view.useBSpline = 0;
    view.buildTrack();
    EXPECT_TRUE(sameBits(guide, *view.segments2[2]));
    view.buildTrack2();
    EXPECT_FALSE(sameBits(guide, *view.segments2[2]));
}

}  // namespace
