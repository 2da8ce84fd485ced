// Undo and redo: what makes one step, a load undone, and the bound on the number of steps.
#include <cstdio>

#include "input/TrackFile.h"
#include "input/UndoHistory.h"
#include "tests/input/InputDriver.h"
#include "tests/support/Desktop.h"

// A drag or a held repeating key is one step however many events it spans; the next drag or
// press is a new step; events that change nothing (a push, a release, a key let go) make none.
TEST_F(DrivenView, UndoStepsOnePerActionHoweverManyEventsItSpans) {
    buildRing(view, groundSquare());
    view.selectedPoint = 1;
    for (int drag = 0; drag < 2; ++drag) {
        send(FL_PUSH, 100, 100, 1);
        for (int x : {105, 110, 115}) send(FL_DRAG, x, 100, 1);
        send(FL_RELEASE, 115, 100, 1);
    }
    const TrackImage beforeHeld = encodeTrack(view);
    press('-', 10);
    press('-');
    press('4');
    EXPECT_EQ(view.undoHistory.undoSteps(), 5u);
    for (int events : {3, 1, 1}) press('U', events);  // once per press, however long held
    EXPECT_EQ(encodeTrack(view), beforeHeld);
}

// The energy a build would compute differs from the stored one: the undo must put it back.
TEST_F(DrivenView, UndoOfALoadGivesBackTheTrackBeforeItByteForByte) {
    buildRing(view, circle(5, 6.0f, 1.0f));
    view.totalEnergy = 12345.0f;
    const TrackImage before = encodeTrack(view);
    TrackView other(0, 0, 10, 10);
    buildRing(other, groundSquare());
    const TrackImage loaded = encodeTrack(other);
    answer = testing::TempDir() + "undo-load.trk";
    writeFile(*answer, std::string(loaded.begin(), loaded.end()));
    press(FL_F + 1);
    ASSERT_EQ(encodeTrack(view), loaded);
    press('U');
    EXPECT_EQ(encodeTrack(view), before);
    std::remove(answer->c_str());
}

TEST(UndoHistory, KeepsTheNewestHundredStepsAndUndoesThemNewestFirst) {
    UndoHistory history;
    for (int k = 0; k <= 100; ++k) history.record({static_cast<unsigned char>(k)}, 0);
    TrackImage image;
    for (int k = 100; k >= 1; --k)
        EXPECT_TRUE(history.undo(&image) && image == TrackImage{static_cast<unsigned char>(k)}) << "step " << k;
    EXPECT_FALSE(history.undo(&image));  // step 0, the oldest, is gone
}
