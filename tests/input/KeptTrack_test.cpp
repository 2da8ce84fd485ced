// The kept track: what makes a track unsaved, the folder rule, the 30 s schedule, the close, and
// the copies of earlier runs thinned to the newest.
#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "input/TrackFile.h"
#include "tests/input/InputDriver.h"
#include "tests/support/Desktop.h"

namespace {

class KeptTracks : public DrivenView {};

// A save or load holds what changed before it in its event, not what changed after it; an undo
// counts.
TEST_F(KeptTracks, ChangesSinceTheLastSaveOrLoadAreUnsaved) {
    answer = makeScratchDir() + "/t.trk";
    const struct { std::set<int> keys; bool unsaved; } steps[] = {
        {{'N'}, true}, {{FL_F + 2}, false}, {{'4', FL_F + 2}, false}, {{FL_F + 2, 'N'}, true}, {{FL_F + 1}, false},
        {{'U'}, true}};
    for (const auto& step : steps) {
        keys = step.keys, idle(), keys.clear(), idle();
        EXPECT_EQ(view.keptTrack.unsaved(), step.unsaved) << "step " << &step - steps;
    }
}

TEST(KeptTrack, TheFolderFollowsTheXdgRules) {
    const std::string fallback = getpwuid(getuid())->pw_dir + std::string("/.local/state/kalvora");
    const struct { const char *stateHome, *home, *folder; } rows[] = {
        {"/s", "/h", "/s/kalvora"}, {nullptr, "/h", "/h/.local/state/kalvora"}, {"", "/h", "/h/.local/state/kalvora"},
        {"s", "/h", "/h/.local/state/kalvora"}, {nullptr, nullptr, fallback.c_str()}, {"s", "", fallback.c_str()}};
    for (const auto& row : rows) EXPECT_EQ(keptTrackFolder(row.stateHome, row.home), row.folder) << row.home;
}

// A change is written 30 s after the first tick that sees it; neither the tick nor the close
// writes a track cleared by accident over the copy, and the close takes it away when it finds
// the track saved. The first write leaves the
// 19 newest other copies by time (not by name) and never touches other names or folders.
TEST(KeptTrack, AChangeIsWrittenThirtySecondsOnAndTheFirstWriteThinsTheFolder) {
    const std::string state = makeScratchDir(), folder = state + "/kalvora", other = folder + "/unsaved-1.trk";
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    mkdir(folder.c_str(), 0700), mkdir((folder + "/" + keptTrackName(0, 99)).c_str(), 0700), writeFile(other, "");
    for (int k = 0; k < 24; ++k) {
        const timeval mtime = {1000 + (k * 7) % 24, 0}, times[2] = {mtime, mtime};
        writeFile(folder + "/" + keptTrackName(k, k), ""), utimes((folder + "/" + keptTrackName(k, k)).c_str(), times);
    }
    TrackView view(0, 0, 10, 10);
    const std::string path = view.keptTrack.path();
    const struct { bool change; long tickMs; int trees; } steps[] = {
        {true, 1000, -1}, {false, 30999, -1}, {false, 31000, 1}, {true, 31001, 1}, {false, 61000, 1}, {false, 61001, 2}};
    for (const auto& step : steps) {
        if (step.change) view.trees[view.numTrees++] = new ControlPoint(1, 0, 2, 1, 4.5f, 0, 0, 0), view.keptTrack.changed(view);
        view.keptTrack.keepWhenDue(view, step.tickMs);
        EXPECT_EQ(readFile(path).size(), step.trees < 0 ? 0 : trackFileSize(0, step.trees)) << step.tickMs;
    }
    for (int k = 0; k < 24; ++k) EXPECT_EQ(access((folder + "/" + keptTrackName(k, k)).c_str(), F_OK) == 0, (k * 7) % 24 >= 5);
    EXPECT_EQ(access(other.c_str(), F_OK) + access((folder + "/" + keptTrackName(0, 99)).c_str(), F_OK), 0);
    view.deleteAllRecords(), view.keptTrack.changed(view), view.keptTrack.keepWhenDue(view, 70000);
    view.keptTrack.keepWhenDue(view, 100000), view.keptTrack.keepAtClose(view);
    EXPECT_EQ(readFile(path).size(), trackFileSize(0, 2));
    view.keptTrack.matchesFile(), view.keptTrack.keepAtClose(view);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
}

}  // namespace
