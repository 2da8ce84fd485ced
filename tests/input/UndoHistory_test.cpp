// The bound on the number of undo steps.
#include <gtest/gtest.h>

#include "input/UndoHistory.h"

TEST(UndoHistory, KeepsTheNewestHundredStepsAndUndoesThemNewestFirst) {
    UndoHistory history;
    for (int k = 0; k <= 100; ++k) history.record({static_cast<unsigned char>(k)}, 0);
    TrackImage image;
    for (int k = 100; k >= 1; --k)
        EXPECT_TRUE(history.undo(&image) && image == TrackImage{static_cast<unsigned char>(k)}) << "step " << k;
    EXPECT_FALSE(history.undo(&image));  // step 0, the oldest, is gone
}
