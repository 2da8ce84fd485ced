// Undo and redo: what makes one step, a load undone, and the bound on the number of steps.
#include <cstdio>

#include "input/KeyCommands.h"
#include "input/TrackFile.h"
#include "input/UndoHistory.h"
#include "tests/input/InputDriver.h"

namespace {

class Undo : public DrivenView {};

// A held repeating key or a drag is one step however many events it spans; an action that
// changes nothing is none; U steps back one action.
TEST_F(Undo, OneStepPerActionHoweverManyEventsItSpans) {
    buildRing(view, groundSquare());
    view.selectedPoint = 1;
    send(FL_PUSH, 100, 100, 1);
    for (int x : {105, 110, 115}) send(FL_DRAG, x, 100, 1);
    send(FL_RELEASE, 115, 100, 1);
    view.selectedPoint = -1;
    view.tieSpacing = 20;
    const TrackImage beforeHeld = encodeTrack(view);
    press('+', 10);
    press('+', 1);
    press('4');
    view.tieSpacing = kMinTieSpacing;
    press('+');  // at its bound: nothing changes
    EXPECT_EQ(view.undoHistory.undoSteps(), 4u);
    press('U');
    press('U');
    press('U');
    EXPECT_EQ(encodeTrack(view), beforeHeld);
}

// The energy a build would compute differs from the stored one: the undo must put it back.
TEST_F(Undo, ALoadUndoneGivesBackTheTrackBeforeItByteForByte) {
    buildRing(view, circle(5, 6.0f, 1.0f));
    view.totalEnergy = 12345.0f;
    view.trees[view.numTrees++] = new ControlPoint(1, 0, 2, 1.5f, 3.0f, 0, 0, 0);
    const TrackImage before = encodeTrack(view);
    TrackView other(0, 0, 10, 10);
    buildRing(other, groundSquare());
    const std::string path = testing::TempDir() + "undo-load.trk";
    std::string reason;
    ASSERT_TRUE(writeFileReplacing(path.c_str(), encodeTrack(other), &reason)) << reason;
    answer = path;
    press(FL_F + 1);
    ASSERT_EQ(encodeTrack(view), encodeTrack(other));
    press('U');
    EXPECT_EQ(encodeTrack(view), before);
    std::remove(path.c_str());
}

TEST(UndoHistory, KeepsTheNewestHundredStepsAndUndoesThemNewestFirst) {
    UndoHistory history;
    for (int k = 0; k <= 100; ++k) history.record({static_cast<unsigned char>(k)}, 0);
    TrackImage image{255};
    for (int k = 100; k >= 1; --k) {
        ASSERT_TRUE(history.undo(&image));
        EXPECT_EQ(image, TrackImage{static_cast<unsigned char>(k)});
    }
    EXPECT_FALSE(history.undo(&image));  // step 0, the oldest, is gone
}

}  // namespace
