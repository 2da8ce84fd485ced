// The editor driven through the handler: adding and selecting with keys, the drag arithmetic on
// every kind of target, what a drag and a release rebuild, and the arcball's share of the mouse.
#include <vector>

#include "tests/input/InputDriver.h"

namespace {

constexpr float kFloatProducts = 1e-5f;  // 0.075 x pixels, added in float
constexpr float kArcballNdc = 1e-6f;     // pixel to [-1, 1] mapping, computed in double

class Editing : public DrivenView {
protected:
    // Catmull-Rom, whose segment i starts exactly at point i: a ring is built when they agree.
    void SetUp() override {
        view.useBSpline = 0;
        buildRing(view, groundSquare());
    }
    bool built(CurveSegment** segments, ControlPoint** points) {
        for (int i = 0; i < view.numPoints; ++i)
            if (pointAt(segments, view.numPoints, i / double(view.numPoints)) != at(points[i])) return false;
        return true;
    }
    void expectNear(const Point3& actual, const Point3& expected) {
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(actual[k], expected[k], kFloatProducts) << "coordinate " << k;
    }
    // A push at (100, 100), then drag steps to each given position, with the given button.
    void drag(int button, const std::vector<std::pair<int, int>>& steps) {
        send(FL_PUSH, 100, 100, button);
        for (const auto& [x, y] : steps) send(FL_DRAG, x, y, button);
    }
};

TEST_F(Editing, DragsMovePointsWithTheirPartnersGuidePointsAloneGrowTreesAndMoveTheLight) {
    struct { int point, point2, button; std::vector<std::pair<int, int>> steps; Point3 track, guide; } drags[] = {
        {1, -1, 1, {{110, 104}}, {10.75f, 0, 0.3f}, {10.75f, 4, 0.3f}},  // right and down: +x and +z
        {0, -1, 1, {{129, 100}, {159, 100}, {159, 130}}, {29 * 0.075f, 0, 0}, {29 * 0.075f, 4, 0}},  // 30 px jump
        {2, -1, 3, {{100, 90}}, {10, 0.75f, 10}, {10, 4.75f, 10}},   // right button, up: raises both
        {-1, 3, 3, {{100, 110}}, {0, 0, 10}, {0, 3.25f, 10}}};      // a guide point moves alone
    for (const auto& d : drags) {
        const int i = d.point != -1 ? d.point : d.point2;
        view.selectedPoint = d.point, view.selectedPoint2 = d.point2;
        drag(d.button, d.steps);
        expectNear(at(view.points[i]), d.track);
        expectNear(at(view.points2[i]), d.guide);
        EXPECT_TRUE(built(view.segments, view.points) && built(view.segments2, view.points2)) << "point " << i;
    }
    view.selectedPoint2 = -1;
    press('N');
    drag(3, {{100, 90}});  // grows the tree in place
    view.selectedPoint = 0;
    drag(1, {{110, 100}});  // of two active targets only the first, the point, moves
    EXPECT_NEAR(view.trees[0]->getRadius(), 1.0f + 10 * 0.005f, kFloatProducts);
    EXPECT_NEAR(view.trees[0]->getHeight(), 4.5f + 10 * 0.075f, kFloatProducts);
    expectNear(at(view.trees[0]), {0, 0, 0});
    expectNear(at(view.points[0]), {(29 + 10) * 0.075f, 0, 0});
    view.selectedPoint = view.selectedTree = -1;
    press('L');
    drag(1, {{90, 102}});
    drag(3, {{100, 96}});
    expectNear({view.lightPos[0], view.lightPos[1], view.lightPos[2]}, {-0.75f, 13.3f, 0.15f});
}

TEST_F(Editing, ReleaseRebuildsOnlyTheSelectedPointsRing) {
    for (int ring : {1, 2}) {
        view.points[0]->setPosition(-3, 1, -3);  // moved behind the editor's back
        view.points2[0]->setPosition(-3, 6, -3);
        view.selectedPoint = ring == 1 ? 0 : -1;
        view.selectedPoint2 = ring == 2 ? 0 : -1;
        send(FL_RELEASE, 100, 100, 1);
        EXPECT_EQ(built(view.segments, view.points), ring == 1);
        EXPECT_EQ(built(view.segments2, view.points2), ring == 2);
        buildRing(view, groundSquare());
    }
}

TEST_F(Editing, ThirdPointStartsTheTrainAndAddingStopsAtAHundredPointsFiftyTreesOrOutsideTheFreeView) {
    view.deleteAllRecords();
    view.cameraMode = 3;
    press('M');
    EXPECT_EQ(view.numPoints, 0);
    view.cameraMode = 0;
    view.trainU = 7.0f;  // outside [0, 1): placing the train takes 0
    press('N');
    for (int running : {0, 0, 1}) {
        press('M');
        EXPECT_EQ(view.trainRunning, running);
    }
    EXPECT_EQ(view.trainU, 0.0f);
    EXPECT_FLOAT_EQ(view.trainPos[1], 0.125f);  // every new point stands at the same spot
    EXPECT_EQ(view.selectedTree, 0);            // 'M' leaves a tree selection
    EXPECT_EQ(view.points[2]->red + view.points2[2]->blue, 2 * 255);  // red track, blue guide points
    for (int i = 0; i < 100; ++i) press('M'), press('N');
    EXPECT_EQ((std::vector<int>{view.numPoints, view.numPoints2, view.selectedPoint, view.numTrees, view.selectedTree}),
              (std::vector<int>{100, 100, 99, 50, 49}));
}

TEST_F(Editing, SelectionKeysCycleThroughTheirListsAndRClearsEverything) {
    press('N');
    struct { int key, point, point2, tree, light; } steps[] = {
        {'Q', 0, -1, 0, 0},   {'Q', 1, -1, 0, 0},   {'Q', 2, -1, 0, 0},   {'Q', 3, -1, 0, 0},   {'Q', -1, -1, 0, 0},
        {'Q', 0, -1, 0, 0},   {'W', -1, 0, -1, 0},  {'E', -1, -1, 0, 0},  {'E', -1, -1, -1, 0}, {'L', -1, -1, -1, 1},
        {'L', -1, -1, -1, 0}, {'L', -1, -1, -1, 1}, {'R', -1, -1, -1, 0}, {'E', -1, -1, 0, 0},  {'L', -1, -1, 0, 1},
        {'Q', 0, -1, 0, 1},   {'R', -1, -1, -1, 0}};
    for (const auto& s : steps) {
        press(s.key);
        EXPECT_EQ((std::vector<int>{view.selectedPoint, view.selectedPoint2, view.selectedTree, view.lightMoveMode}),
                  (std::vector<int>{s.point, s.point2, s.tree, s.light}))
            << "after " << char(s.key);
    }
}

TEST_F(Editing, RightDragTurnsTheArcballOnlyWithNothingSelected) {
    send(FL_PUSH, 600, 150, 3);  // (0.5, 0.5) in the view's unit square
    send(FL_DRAG, 400, 300, 3);
    EXPECT_NEAR(view.arcBall.startX, 0.5f, kArcballNdc);
    EXPECT_NEAR(view.arcBall.startY, 0.5f, kArcballNdc);
    EXPECT_LT(view.arcBall.dragRotation.w, 1.0f);  // turned
    press('N');
    for (auto [tree, button] : {std::pair{0, 3}, {-1, 1}}) {  // the tree takes the drag; the left button never turns
        view.selectedTree = tree;
        send(FL_PUSH, 200, 450, button);
        EXPECT_NEAR(view.arcBall.startX, 0.5f, kArcballNdc) << "button " << button;
    }
}

}  // namespace
