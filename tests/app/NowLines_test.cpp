// The help window's "Now" lines for a fresh view, a built and running track in a ride view with
// the settings changed, and a selection with the light-move mode after a save.
#include <gtest/gtest.h>

#include "app/NowLines.h"
#include "tests/support/TrackFixtures.h"

TEST(NowLines, SayWhatTheKeysHaveSet) {
    TrackView fresh(0, 0, 10, 10);
    EXPECT_EQ(nowLines(fresh), (std::vector<std::string>{
        "track: 0 points, 0 trees, B-spline", "train: stopped, physics on, speed 3.00, total energy 0.0, gravity -20.8",
        "view: free view", "drawing: lighting on, centre line, markers shown, tie spacing 5, pillar interval 1",
        "track colours: plain", "selection: none", "file: none, no unsaved changes", "undo: 0 steps, redo: 0 steps"}));

    TrackView riding(0, 0, 10, 10);
    buildRing(riding, circle(4, 10.0f, 1.0f));
    riding.numTrees = 1, riding.trees[0] = new ControlPoint(0, 0, 0, 1, 4.5f, 0, 0, 0);
    riding.trainRunning = 1, riding.cameraMode = 2, riding.physicsOn = 0, riding.useBSpline = 0;
    riding.lightingOn = 0, riding.drawRails = 1, riding.showPoints = 0, riding.tieSpacing = 7, riding.supportEvery = 3;
    riding.trackColouring = kLateralGColours, riding.totalEnergy = 1234.56f, riding.gravity = -30.5f;
    riding.undoHistory.record({}, 0), riding.keptTrack.changed(riding);
    EXPECT_EQ(nowLines(riding), (std::vector<std::string>{
        "track: 4 points, 1 tree, Catmull-Rom", "train: running, physics off, speed 3.00, total energy 1234.6, gravity -30.5",
        "view: ride view 2, behind and above the train",
        "drawing: lighting off, rails, markers hidden, tie spacing 7, pillar interval 3", "track colours: lateral g",
        "selection: none", "file: none, unsaved changes", "undo: 1 step, redo: 0 steps"}));

    riding.trainRunning = 0, riding.selectedPoint2 = 3, riding.selectedTree = 0, riding.lightMoveMode = 1;
    riding.trackMatchesFile("ring.trk");
    EXPECT_EQ(nowLines(riding)[2], "view: look-down at the selected point");
    EXPECT_EQ(nowLines(riding)[5], "selection: guide point 4 of 4, tree 1 of 1, light-move mode (drags move the light)");
    EXPECT_EQ(nowLines(riding)[6], "file: \"ring.trk\", no unsaved changes");
}
