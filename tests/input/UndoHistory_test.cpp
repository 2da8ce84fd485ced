// Undo: a load undone, and the bound on the number of steps.
#include "input/TrackFile.h"
#include "input/UndoHistory.h"
#include "tests/input/InputDriver.h"
#include "tests/support/Desktop.h"

// The energy a build would compute differs from the stored one: the undo must put it back.
TEST_F(DrivenView, UndoOfALoadGivesBackTheTrackBeforeItByteForByte) {
    answer = makeScratchDir() + "/square.trk";
    buildRing(view, groundSquare());
    press(FL_F + 2);
    buildRing(view, circle(5, 6.0f, 1.0f));
    view.totalEnergy = 12345.0f;
    const TrackImage before = encodeTrack(view);
    press(FL_F + 1);
    ASSERT_EQ(view.numPoints, 4);
    press('U');
    EXPECT_EQ(encodeTrack(view), before);
}

TEST(UndoHistory, KeepsTheNewestHundredStepsAndUndoesThemNewestFirst) {
    UndoHistory history;
    for (int k = 0; k <= 100; ++k) history.record({static_cast<unsigned char>(k)}, 0);
    TrackImage image;
    for (int k = 100; k >= 1; --k)
        EXPECT_TRUE(history.undo(&image) && image == TrackImage{static_cast<unsigned char>(k)}) << "step " << k;
    EXPECT_FALSE(history.undo(&image));  // step 0, the oldest, is gone
}
