// The track as drawn into a real GL context: rails on ties with pillars where a known track lies,
// no pillar under an inverted stretch, the plain centre line, and tracks whose frame or length is
// degenerate. Positions come from the segments and an independent projection.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const Rgb kRailGrey = rgb(0.3, 0.3, 0.3);
const Rgb kTieBrown = {129, 114, 61};
const Rgb kPillarRed = rgb(1, 0, 0);
const Rgb kTrainGrey = rgb(0.5, 0.5, 0.5);
const Rgb kGroundEven = rgb(0.0, 0.5, 0.0);
constexpr double kFiniteStep = 1e-4;  // parameter step of the tangent's central difference

using Vec = std::array<double, 3>;

Vec toVec(const Point3& p) { return {p[0], p[1], p[2]}; }
Vec add(const Vec& a, const Vec& b, double s = 1.0) { return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]}; }
double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec unit(const Vec& v) {
    const double l = std::sqrt(dot(v, v));
    return {v[0] / l, v[1] / l, v[2] / l};
}
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The track's point and frame at parameter u, from the built segments: the tangent by a central
// difference, the side to the right of travel, the up hint made perpendicular to the tangent.
struct TrackFrame {
    Vec P, S, U;
};
TrackFrame frameAt(const TrackView& view, double u) {
    TrackFrame f;
    f.P = toVec(pointAt(view.segments, view.numPoints, u));
    const Vec T = unit(add(toVec(pointAt(view.segments, view.numPoints, u + kFiniteStep)),
                           toVec(pointAt(view.segments, view.numPoints, u - kFiniteStep)), -1.0));
    const Vec A = add(toVec(pointAt(view.segments2, view.numPoints, u)), f.P, -1.0);
    f.S = unit(cross(T, A));
    f.U = unit(add(A, T, -dot(A, T)));
    return f;
}

// A point low on the pillar under P, where the tie above does not hide it from the eye.
Vec pillarFoot(const Vec& P) { return {P[0], 0.15 * P[1], P[2]}; }

// A ring of radius 6 at height 2, seen from 40 degrees above at distance 20, unlit, with ties so
// close (every second sample) that ties and pillars form unbroken bands.
class TrackPicture : public testing::Test {
protected:
    void build(const std::vector<Point3>& track, const std::vector<Point3>& guide) {
        setRings(view, track, guide);
        view.buildTrack();
        view.buildTrack2();
        view.showPoints = 0;
        view.lightingOn = 0;
        view.drawRails = 1;
        view.tieSpacing = 1;
        cam = tiltFreeView(view, 40, 20);
        showView(view);
    }
    void buildUpright() {
        const auto track = circle(8, 6.0f, 2.0f);
        auto guide = track;
        for (Point3& p : guide) p[1] += 4.0f;
        build(track, guide);
    }
    Rgb at(const Vec& p) { return pixelAt(view, cam, p[0], p[1], p[2]); }
    bool near(const Vec& p, const Rgb& colour) { return colourNear(view, cam, p[0], p[1], p[2], colour); }

    CapturedView view{kWidth, kHeight};
    LookAt cam;
};

// The near half of the ring, facing the eye.
const double kNearSide[] = {0.55, 0.6, 0.65, 0.7, 0.75, 0.8, 0.85, 0.9, 0.95};
// Its middle, where the pillars face the eye (further round, the ties hide them).
const double kFront[] = {0.65, 0.7, 0.75, 0.8, 0.85};

TEST_F(TrackPicture, RailsLieOnBrownTiesOverRedPillars) {
    buildUpright();
    for (double u : kNearSide) {
        const TrackFrame f = frameAt(view, u);
        EXPECT_TRUE(near(add(add(f.P, f.S, 0.24), f.U, 0.08), kRailGrey)) << "right rail at u = " << u;
        EXPECT_TRUE(near(add(add(f.P, f.S, -0.24), f.U, 0.08), kRailGrey)) << "left rail at u = " << u;
        EXPECT_EQ(at(add(f.P, f.U, 0.07)), kTieBrown) << "tie top at u = " << u;
    }
    for (double u : kFront) EXPECT_EQ(at(pillarFoot(frameAt(view, u).P)), kPillarRed) << "pillar at u = " << u;
    // Beyond the tie's end there is no track: ground or its shadow.
    const TrackFrame f = frameAt(view, 0.75);
    EXPECT_NE(at(add(add(f.P, f.S, 0.7), f.U, 0.07)), kTieBrown);
}

TEST_F(TrackPicture, NoPillarStandsUnderAnInvertedStretch) {
    const auto track = circle(8, 6.0f, 2.0f);
    auto guide = track;
    for (int i = 0; i < 8; ++i) guide[i][1] += (i >= 5 ? -4.0f : 4.0f);  // the near side is upside down
    build(track, guide);
    for (double u : {0.7, 0.75, 0.8}) {
        const TrackFrame f = frameAt(view, u);
        ASSERT_LT(f.U[1], -0.9) << "the track's up side faces down at u = " << u;
        EXPECT_NE(at(pillarFoot(f.P)), kPillarRed) << "pillar at u = " << u;
        EXPECT_EQ(at(f.P), kTieBrown) << "tie at u = " << u;  // ties and rails stay
    }
    EXPECT_GT(view.count(kPillarRed), 1000);  // the upright far side keeps its pillars
}

TEST_F(TrackPicture, CentreLineStyleDrawsOnlyAGreyLine) {
    buildUpright();
    view.drawRails = 0;
    drawFrame(view);
    for (double u : kNearSide) EXPECT_TRUE(near(frameAt(view, u).P, kRailGrey)) << "centre line at u = " << u;
    EXPECT_EQ(view.count(kTieBrown), 0);
    EXPECT_EQ(view.count(kPillarRed), 0);
}

TEST_F(TrackPicture, SupportEveryZeroStillPutsPillarsUnderTheTrack) {
    buildUpright();
    view.supportEvery = 0;  // only a damaged track file gives this
    drawFrame(view);
    EXPECT_EQ(at(pillarFoot(frameAt(view, 0.75).P)), kPillarRed);
}

// A length value so large that t + 1/length would stop advancing in float: the sample count is
// capped, the loop ends and the whole ring is still drawn.
TEST_F(TrackPicture, AHugeLengthValueStillDrawsTheWholeRingAndEnds) {
    buildUpright();
    view.drawRails = 0;
    view.trackLength = 1.0e9f;
    drawFrame(view);
    for (double u : kNearSide) EXPECT_TRUE(near(frameAt(view, u).P, kRailGrey)) << "centre line at u = " << u;
}

// Three presses of the add key: every point on one spot, every tangent and length 0.
TEST_F(TrackPicture, StackedPointsDrawTheGroundAndALevelTrainAtTheSpot) {
    const std::vector<Point3> spot(3, Point3{{1, 2, 1}});
    build(spot, std::vector<Point3>(3, Point3{{1, 6, 1}}));
    ASSERT_EQ(view.trackLength, 0.0f);
    view.trainRunning = 1;
    view.trainU = 0.0f;
    for (int rails = 0; rails <= 1; ++rails) {
        view.drawRails = rails;
        for (int frame = 0; frame < 3; ++frame) drawFrame(view);
        ASSERT_TRUE(std::isfinite(view.trainU) && view.trainU >= 0.0f && view.trainU < 1.0f);
        // The train stands level on the spot: its roof 0.6 above it.
        EXPECT_TRUE(::near(at({1, 2.6, 1}), kTrainGrey)) << "rails " << rails;
        EXPECT_TRUE(::near(at({-3.75, 0, -3.75}), kGroundEven)) << "rails " << rails;  // middle of square (7, 7)
    }
}

// The guide ring on the track gives no up side: ties lie level, the rails beside them, the train
// stands upright on the far side, and no pillar stands (the guide is not above the track).
TEST_F(TrackPicture, GuideRingOnTheTrackLaysTheTrackAndTheTrainLevel) {
    const auto track = circle(8, 6.0f, 2.0f);
    build(track, track);
    view.trainRunning = 1;
    view.physicsOn = 0;
    view.trainSpeed = 0.0f;
    view.trainU = 0.25f;
    drawFrame(view);
    ASSERT_EQ(view.trainUp[0], 0.0f);
    ASSERT_EQ(view.trainUp[1], 0.0f);
    const Point3 train = pointAt(view.segments, view.numPoints, 0.25);
    EXPECT_TRUE(::near(at({train[0], train[1] + 0.6, train[2]}), kTrainGrey)) << "train roof";
    const Vec up = {0, 1, 0};
    for (double u : kNearSide) {
        const Vec P = toVec(pointAt(view.segments, view.numPoints, u));
        const Vec T = add(toVec(pointAt(view.segments, view.numPoints, u + kFiniteStep)),
                          toVec(pointAt(view.segments, view.numPoints, u - kFiniteStep)), -1.0);
        const Vec S = unit(cross(T, up));
        EXPECT_EQ(at(add(P, up, 0.07)), kTieBrown) << "tie at u = " << u;
        EXPECT_TRUE(near(add(add(P, S, 0.24), up, 0.08), kRailGrey)) << "right rail at u = " << u;
        EXPECT_TRUE(near(add(add(P, S, -0.24), up, 0.08), kRailGrey)) << "left rail at u = " << u;
    }
    EXPECT_EQ(view.count(kPillarRed), 0);
}

}  // namespace
