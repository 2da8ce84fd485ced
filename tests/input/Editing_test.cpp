// The editor driven through the handler: the drag arithmetic on every kind of target, adding
// with keys, and the arcball's share of the mouse.
#include <tuple>
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
    EXPECT_EQ(view.arcBall.startX, 0.0f);  // every drag had a target, so the view never turned
}

TEST_F(Editing, ThirdPointStartsTheTrainAndAddingStopsAtAHundredPointsFiftyTreesOrOutsideTheFreeView) {
    view.deleteAllRecords();
    view.cameraMode = 3;
    press('M');
    view.cameraMode = 0;
    for (int running : {0, 0, 1}) {
        press('M');
        EXPECT_EQ(view.trainRunning, running);
    }
    EXPECT_EQ(view.points[2]->red + view.points2[2]->blue, 2 * 255);  // red track, blue guide points
    for (int i = 0; i < 100; ++i) press('M'), press('N');
    EXPECT_EQ((std::vector<int>{view.numPoints, view.numPoints2, view.numTrees}), (std::vector<int>{100, 100, 50}));
}

TEST_F(Editing, RightDragTurnsTheArcballOnlyWithNothingSelected) {
    press('N');
    // The tree takes the right drag, the left button never turns, nor the right one in a ride
    // view; in the free view with nothing selected it does.
    for (auto [tree, button, camera, x] : {std::tuple{0, 3, 0, 0.0f}, {-1, 1, 0, 0.0f}, {-1, 3, 1, 0.0f}, {-1, 3, 0, 0.75f}}) {
        view.selectedTree = tree, view.cameraMode = camera;
        send(FL_PUSH, 700, 150, button);  // (0.75, 0.5) in the view's unit square
        EXPECT_NEAR(view.arcBall.startX, x, kArcballNdc) << "button " << button;
    }
    send(FL_DRAG, 400, 300, 3);
    EXPECT_LT(view.arcBall.dragRotation.w, 1.0f);  // turned
}

}  // namespace
