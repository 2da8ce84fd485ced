// What a crash keeps, by the close's rules: the track after its last change, never an empty
// track in place of a kept one, and no kept copy once the track is saved.
#include <gtest/gtest.h>
#include <unistd.h>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"

TEST(CrashCopy, ACrashKeepsTheLastChangeNeverAnEmptyTrackAndNoCopyOfASavedOne) {
    setenv("XDG_STATE_HOME", (makeScratchDir() + "/state").c_str(), 1);  // a folder the crash makes
    TrackView view(0, 0, 10, 10);
    const CrashCopy& crash = view.keptTrack.crashCopy();
    const std::string path = view.keptTrack.path();
    const auto addTree = [&view] { view.trees[view.numTrees++] = new ControlPoint(1, 0, 2, 1, 4.5f, 0, 0, 0); };
    EXPECT_FALSE(crash.writeNow());  // nothing changed
    addTree(), view.keptTrack.changed(view);
    const std::vector<unsigned char> oneTree = encodeTrack(view);
    addTree();  // not an event's change yet
    EXPECT_TRUE(crash.writeNow() && readFile(path) == std::string(oneTree.begin(), oneTree.end()));
    view.deleteAllRecords(), view.keptTrack.changed(view);
    EXPECT_TRUE(!crash.writeNow() && readFile(path).size() == oneTree.size());
    addTree(), view.keptTrack.changed(view), view.keptTrack.keepWhenDue(view, 0);
    view.keptTrack.keepWhenDue(view, kKeepDelayMs), view.keptTrack.matchesFile();  // kept by the tick, then saved
    EXPECT_TRUE(!crash.writeNow() && access(path.c_str(), F_OK) != 0);
}
