// The editor driven through the handler: adding and selecting with keys, the drag arithmetic on
// every kind of target, what a drag and a release rebuild, and the arcball's share of the mouse.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/input/InputDriver.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr float kFloatProducts = 1e-5f;  // 0.075 x pixels, added in float
constexpr float kArcballNdc = 1e-6f;     // pixel to [-1, 1] mapping, computed in double

class Editing : public testing::Test {
protected:
    TrackView view{0, 0, 800, 600};
    InputDriver input{view};

    Point3 position(const ControlPoint* point) {
        Point3 p;
        point->getPosition(&p[0], &p[1], &p[2]);
        return p;
    }
    void expectNear(const Point3& actual, const Point3& expected) {
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(actual[k], expected[k], kFloatProducts) << "coordinate " << k;
    }
    // True when the segments of ring (1 or 2) are what a fresh build of the current points gives.
    bool ringIsBuilt(int ring) {
        TrackView fresh(0, 0, 10, 10);
        std::vector<Point3> track, guide;
        for (int i = 0; i < view.numPoints; ++i) {
            track.push_back(position(view.points[i]));
            guide.push_back(position(view.points2[i]));
        }
        setRings(fresh, track, guide);
        fresh.buildTrack();
        fresh.buildTrack2();
        CurveSegment** mine = ring == 1 ? view.segments : view.segments2;
        CurveSegment** theirs = ring == 1 ? fresh.segments : fresh.segments2;
        for (int i = 0; i < view.numPoints; ++i) {
            if (std::memcmp(mine[i]->coeffX, theirs[i]->coeffX, sizeof mine[i]->coeffX) != 0 ||
                std::memcmp(mine[i]->coeffZ, theirs[i]->coeffZ, sizeof mine[i]->coeffZ) != 0 ||
                std::memcmp(mine[i]->coeffY, theirs[i]->coeffY, sizeof mine[i]->coeffY) != 0)
                return false;
        }
        return true;
    }
    // A push at (100, 100), then drag steps to each given position, with the given button.
    void drag(int button, std::initializer_list<std::pair<int, int>> steps) {
        input.send(FL_PUSH, 100, 100, button);
        for (const auto& [x, y] : steps) input.send(FL_DRAG, x, y, button);
    }
};

TEST_F(Editing, LeftDragMovesPointAndPartnerAcrossTheGroundAndRebuildsBoth) {
    buildRing(view, groundSquare());
    view.selectedPoint = 1;
    drag(1, {{110, 104}});  // 10 px right, 4 px down
    expectNear(position(view.points[1]), {10.75f, 0.0f, 0.3f});
    expectNear(position(view.points2[1]), {10.75f, 4.0f, 0.3f});
    EXPECT_TRUE(ringIsBuilt(1));
    EXPECT_TRUE(ringIsBuilt(2));
}

TEST_F(Editing, StepsOf29PixelsMoveAndStepsOf30DoNot) {
    buildRing(view, groundSquare());
    view.selectedPoint = 0;
    drag(1, {{129, 100}, {159, 100}, {159, 130}});
    expectNear(position(view.points[0]), {29 * 0.075f, 0.0f, 0.0f});
}

TEST_F(Editing, RightDragRaisesPointsAndGrowsTrees) {
    buildRing(view, groundSquare());
    view.selectedPoint = 2;
    drag(3, {{100, 90}});  // 10 px up
    expectNear(position(view.points[2]), {10.0f, 0.75f, 10.0f});
    expectNear(position(view.points2[2]), {10.0f, 4.75f, 10.0f});

    view.selectedPoint = -1;
    view.selectedPoint2 = 3;
    drag(3, {{100, 110}});  // down: only the guide point
    expectNear(position(view.points2[3]), {0.0f, 3.25f, 10.0f});
    expectNear(position(view.points[3]), {0.0f, 0.0f, 10.0f});
    EXPECT_TRUE(ringIsBuilt(2));

    view.selectedPoint2 = -1;
    input.press('N');
    drag(3, {{100, 90}});
    EXPECT_NEAR(view.trees[0]->getRadius(), 1.05f, kFloatProducts);
    EXPECT_NEAR(view.trees[0]->getHeight(), 5.25f, kFloatProducts);
    expectNear(position(view.trees[0]), {0, 0, 0});
}

TEST_F(Editing, LightMoveModeDragsTheLight) {
    input.press('L');
    drag(1, {{90, 102}});
    drag(3, {{100, 96}});
    EXPECT_NEAR(view.lightPos[0], -0.75f, kFloatProducts);
    EXPECT_NEAR(view.lightPos[1], 13.3f, kFloatProducts);
    EXPECT_NEAR(view.lightPos[2], 0.15f, kFloatProducts);
    input.press('L');
    EXPECT_EQ(view.lightMoveMode, 0);
}

TEST_F(Editing, ReleaseRebuildsOnlyTheSelectedPointsRing) {
    buildRing(view, groundSquare());
    for (int ring : {1, 2}) {
        view.points[0]->setPosition(-3, 1, -3);  // moved behind the editor's back
        view.points2[0]->setPosition(-3, 6, -3);
        view.selectedPoint = ring == 1 ? 0 : -1;
        view.selectedPoint2 = ring == 2 ? 0 : -1;
        input.send(FL_RELEASE, 100, 100, 1);
        EXPECT_TRUE(ringIsBuilt(ring));
        EXPECT_FALSE(ringIsBuilt(3 - ring));
        buildRing(view, groundSquare());
    }
}

TEST_F(Editing, OnlyTheFirstOfTwoActiveTargetsMoves) {
    buildRing(view, groundSquare());
    input.press('N');
    view.selectedPoint = 0;
    drag(1, {{110, 100}});
    expectNear(position(view.points[0]), {0.75f, 0, 0});
    expectNear(position(view.trees[0]), {0, 0, 0});
}

TEST_F(Editing, ThirdPointStartsTheTrainAndTheHundredFirstAddsNothing) {
    view.trainU = 7.0f;  // outside [0, 1): placing the train takes 0
    input.press('N');
    input.press('M');
    input.press('M');
    EXPECT_EQ(view.trainRunning, 0);
    input.press('M');
    EXPECT_EQ(view.trainRunning, 1);
    EXPECT_EQ(view.trainU, 0.0f);
    EXPECT_FLOAT_EQ(view.trainPos[1], 0.125f);  // every new point stands at the same spot
    EXPECT_EQ(view.selectedPoint, 2);
    EXPECT_EQ(view.selectedTree, 0);  // 'M' leaves a tree selection
    expectNear(position(view.points2[2]), {0, 4.125f, 0});
    EXPECT_EQ(view.points[2]->red, 255);
    EXPECT_EQ(view.points2[2]->blue, 255);
    for (int i = 0; i < 100; ++i) input.press('M');
    EXPECT_EQ(view.numPoints, 100);
    EXPECT_EQ(view.numPoints2, 100);
    EXPECT_EQ(view.selectedPoint, 99);
}

TEST_F(Editing, PointsAreAddedOnlyInTheFreeViewAndTreesOnlyUpToFifty) {
    view.cameraMode = 3;
    input.press('M');
    EXPECT_EQ(view.numPoints, 0);
    for (int i = 0; i < 51; ++i) input.press('N');
    EXPECT_EQ(view.numTrees, 50);
    EXPECT_EQ(view.selectedTree, 49);
    EXPECT_EQ(view.trees[49]->getHeight(), 4.5f);
}

TEST_F(Editing, SelectionKeysCycleThroughTheirListsAndBack) {
    input.press('Q');
    input.press('W');
    EXPECT_EQ(view.selectedPoint, -1);
    EXPECT_EQ(view.selectedPoint2, -1);
    buildRing(view, groundSquare());
    input.press('N');
    for (int expected : {0, 1, 2, 3, -1, 0}) {
        input.press('Q');
        EXPECT_EQ(view.selectedPoint, expected);
    }
    EXPECT_EQ(view.selectedTree, 0);  // 'Q' leaves the tree
    input.press('W');
    EXPECT_EQ(view.selectedPoint2, 0);
    EXPECT_EQ(view.selectedPoint, -1);
    EXPECT_EQ(view.selectedTree, -1);
    input.press('E');
    EXPECT_EQ(view.selectedTree, 0);
    EXPECT_EQ(view.selectedPoint2, -1);
    input.press('E');
    EXPECT_EQ(view.selectedTree, -1);
}

TEST_F(Editing, RDeselectsEverythingAndEndsLightMoveMode) {
    buildRing(view, groundSquare());
    input.press('N');
    view.selectedPoint = 1;
    input.press('L');
    input.press('R');
    EXPECT_EQ(view.selectedPoint, -1);
    EXPECT_EQ(view.selectedTree, -1);
    EXPECT_EQ(view.lightMoveMode, 0);
}

TEST_F(Editing, RightDragTurnsTheArcballOnlyWithNothingSelected) {
    input.send(FL_PUSH, 600, 150, 3);  // (0.5, 0.5) in the view's unit square
    EXPECT_NEAR(view.arcBall.startX, 0.5f, kArcballNdc);
    EXPECT_NEAR(view.arcBall.startY, 0.5f, kArcballNdc);
    input.send(FL_DRAG, 400, 300, 3);
    EXPECT_GT(view.arcBall.dragRotation.w, 0.0f);
    EXPECT_LT(view.arcBall.dragRotation.w, 1.0f);  // turned
    input.press('N');
    input.send(FL_PUSH, 200, 450, 3);
    EXPECT_NEAR(view.arcBall.startX, 0.5f, kArcballNdc);  // the tree took the drag
    view.selectedTree = -1;
    input.send(FL_PUSH, 200, 450, 1);  // the left button never turns the view
    EXPECT_NEAR(view.arcBall.startX, 0.5f, kArcballNdc);
}

}  // namespace
