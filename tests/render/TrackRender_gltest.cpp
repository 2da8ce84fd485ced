// The track as drawn into a real GL context: rails on ties with pillars where a known track lies,
// no pillar under an inverted stretch, the plain centre line, and tracks whose frame or length is
// degenerate. Positions come from the segments and an independent projection.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/SceneCapture.h"
#include "tests/support/TrackFixtures.h"

namespace {

const Rgb kRailGrey = rgb(0.3, 0.3, 0.3);
const Rgb kTieBrown = {129, 114, 61};
const Rgb kPillarRed = rgb(1, 0, 0);
const Rgb kTrainGrey = rgb(0.5, 0.5, 0.5);
constexpr double kFiniteStep = 1e-4;  // parameter step of the tangent's central difference
// The near half of the ring, facing the eye, and its middle, where the pillars face the eye
// (further round, the ties hide them).
const double kNearSide[] = {0.55, 0.6, 0.65, 0.7, 0.75, 0.8, 0.85, 0.9, 0.95};
const double kFront[] = {0.65, 0.7, 0.75, 0.8, 0.85};

// Tracks seen from 40 degrees above at distance 20, unlit, without markers, with ties so close
// (every second sample) that ties and pillars form unbroken bands.
class TrackPicture : public testing::Test {
protected:
    // Guide points `rise` above the track points, `nearRise` above the last three (the near side
    // of an eight-point ring).
    void build(const std::vector<Point3>& track, float rise, float nearRise) {
        std::vector<Point3> guide = track;
        for (size_t i = 0; i < guide.size(); ++i) guide[i][1] += i >= 5 ? nearRise : rise;
        setRings(view, track, guide);
        view.buildTrack();
        view.buildTrack2();
        view.showPoints = 0, view.lightingOn = 0, view.drawRails = 1, view.tieSpacing = 1;
        cam = tiltFreeView(view, 40, 20);
        showView(view);
    }
    Vec at(CurveSegment* const* ring, double u) { return toVec(pointAt(ring, view.numPoints, u)); }
    // The track's point, side and up at u from the built segments: the tangent by a central
    // difference, the side to the right of travel, the up hint made perpendicular to the tangent
    // (straight up where the guide ring lies on the track: no up side, the track lies level).
    struct Frame { Vec P, S, U; };
    Frame frameAt(double u) {
        const Vec P = at(view.segments, u);
        const Vec T = unit(at(view.segments, u + kFiniteStep) - at(view.segments, u - kFiniteStep));
        Vec A = at(view.segments2, u) - P;
        if (A == Vec{0, 0, 0}) A = {0, 1, 0};
        return {P, unit(cross(T, A)), unit(A - dot(A, T) * T)};
    }
    // Both rails beside the centre line and the top of a tie between them, at u.
    void expectRailsOnTie(double u) {
        const Frame f = frameAt(u);
        for (double side : {0.24, -0.24})
            EXPECT_TRUE(colourNear(view, cam, f.P + side * f.S + 0.08 * f.U, kRailGrey)) << side << ", u = " << u;
        EXPECT_EQ(pixelAt(view, cam, f.P + 0.07 * f.U), kTieBrown) << "tie top at u = " << u;
    }
    // A point low on the pillar under the track at u, where the tie above does not hide it.
    Rgb pillarFoot(double u) {
        const Vec P = frameAt(u).P;
        return pixelAt(view, cam, {P[0], 0.15 * P[1], P[2]});
    }

    CapturedView view{640, 480};
    LookAt cam;
};

TEST_F(TrackPicture, RailsLieOnBrownTiesOverRedPillars) {
    build(circle(8, 6.0f, 2.0f), 4.0f, 4.0f);
    for (double u : kNearSide) expectRailsOnTie(u);
    const Frame f = frameAt(0.75);  // beyond the tie's end there is no track: ground or its shadow
    EXPECT_NE(pixelAt(view, cam, f.P + 0.7 * f.S + 0.07 * f.U), kTieBrown);
    for (int every : {1, 0}) {  // 0 comes only from a damaged track file: a pillar under every tie
        view.supportEvery = every;
        drawFrame(view);
        for (double u : kFront) EXPECT_EQ(pillarFoot(u), kPillarRed) << "u = " << u << ", every " << every;
    }
}

TEST_F(TrackPicture, NoPillarStandsUnderAnInvertedStretch) {
    build(circle(8, 6.0f, 2.0f), 4.0f, -4.0f);
    for (double u : {0.7, 0.75, 0.8}) {
        ASSERT_LT(frameAt(u).U[1], -0.9) << "the track's up side faces down at u = " << u;
        EXPECT_NE(pillarFoot(u), kPillarRed) << "pillar at u = " << u;
        EXPECT_EQ(pixelAt(view, cam, frameAt(u).P), kTieBrown) << "tie at u = " << u;  // ties and rails stay
    }
    EXPECT_GT(view.count(kPillarRed), 1000);  // the upright far side keeps its pillars
}

// A length value so large that t + 1/length would stop advancing in float: the sample count is
// capped, the loop ends and the whole ring is still drawn.
TEST_F(TrackPicture, CentreLineStyleDrawsOnlyAGreyLineEvenForAHugeLengthValue) {
    build(circle(8, 6.0f, 2.0f), 4.0f, 4.0f);
    view.drawRails = 0, view.trackLength = 1.0e9f;
    drawFrame(view);
    for (double u : kNearSide) EXPECT_TRUE(colourNear(view, cam, frameAt(u).P, kRailGrey)) << "u = " << u;
    EXPECT_EQ(view.count(kTieBrown), 0);
    EXPECT_EQ(view.count(kPillarRed), 0);  // no pillars, and no marker of the red track points
}

// Three presses of the add key: every point on one spot, every tangent and length 0. The
// ground is drawn and the train stands level on the spot, its roof 0.6 above it.
TEST_F(TrackPicture, StackedPointsDrawTheGroundAndALevelTrainAtTheSpot) {
    build(std::vector<Point3>(3, Point3{{1, 2, 1}}), 4.0f, 4.0f);
    ASSERT_EQ(view.trackLength, 0.0f);
    view.trainRunning = 1;
    for (int rails : {1, 0}) {
        view.drawRails = rails;
        for (int frame = 0; frame < 3; ++frame) drawFrame(view);
        EXPECT_TRUE(near(pixelAt(view, cam, {1, 2.6, 1}), kTrainGrey)) << "rails " << rails;
        EXPECT_TRUE(near(pixelAt(view, cam, {-3.75, 0, -3.75}), rgb(0, 0.5, 0))) << "ground square (7, 7), even";
    }
}

// The guide ring on the track gives no up side: ties lie level, the rails beside them, the train
// stands upright, and no pillar stands (the guide is not above the track).
TEST_F(TrackPicture, GuideRingOnTheTrackLaysTheTrackAndTheTrainLevel) {
    build(circle(8, 6.0f, 2.0f), 0.0f, 0.0f);
    view.trainRunning = 1, view.physicsOn = 0, view.trainSpeed = 0.0f, view.trainU = 0.25f;
    drawFrame(view);
    ASSERT_TRUE(view.trainUp[0] == 0.0f && view.trainUp[1] == 0.0f && view.trainUp[2] == 0.0f) << "an up hint";
    const Vec P = frameAt(0.25).P;
    EXPECT_TRUE(near(pixelAt(view, cam, {P[0], P[1] + 0.6, P[2]}), kTrainGrey)) << "train roof";
    for (double u : kNearSide) expectRailsOnTie(u);
    EXPECT_EQ(view.count(kPillarRed), 0);
}

}  // namespace
