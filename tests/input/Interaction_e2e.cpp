// The real program with real keys and mouse: points added with the mouse at rest, dragged,
// saved, cleared, brought back by undo, redone, loaded, replaced by imported track data and
// brought back by one undo, and the unsaved rest kept at close, named by the next run and opened
// with K, where a failed load opens the help window and the next key still acts in the view; a
// track named on the command line, its train stopped and started, its rail model exported, its
// ride report and help window opened and closed, its colours cycled, and nothing kept; the
// unsaved track kept however the program ends, a kill included.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/HelpWindow.h"
#include "app/RideReportWindow.h"
#include "input/TrackExport.h"
#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kSettleMs = 300;  // a few animation ticks

std::string fileOf(const TrackView& view) {
    const std::vector<unsigned char> bytes = encodeTrack(view);
    return std::string(bytes.begin(), bytes.end());
}

// The path of the track the program kept in the driver's state folder under dir; "" if none.
std::string keptTrack(const KalvoraProcess& program, const std::string& dir) {
    return shell("ls -d " + dir + "/state/kalvora/unsaved-*-" + std::to_string(program.pid()) + ".trk 2>/dev/null");
}

TEST(Interaction, EditingSavingClearingUndoingRedoingLoadingAndOpeningTheKeptRestAllWorkWithTheMouseAtRest) {
    const std::string dir = makeScratchDir();
    KalvoraProcess program(dir);
    ASSERT_NE(openMainWindow(program), "");
    pressKey("m", 200, 3);  // the pointer does not move between presses
    pressKey("space");      // stops the train the third point started, so the stored speed stays put
    TrackView expected(0, 0, 10, 10);
    buildRing(expected, std::vector<Point3>(3, {0, 0.125f, 0}));
    expected.trainSpeed = 4.0f;  // what the energy gives on a flat track: sqrt(2 x 800 / 100)
    const std::string undragged = fileOf(expected);
    drag(1, 10, 4, 5);  // the new point is selected: 10 px right, 4 px down, in two motions; its partner along
    pressKey("r");   // deselect, so the file keys act
    buildRing(expected, {{0, 0.125f, 0}, {0, 0.125f, 0}, {10 * 0.075f, 0.125f, 4 * 0.075f}});
    const std::string name = std::string(60, 'x') + " track.trk";  // the prompt keeps 63 characters
    ASSERT_TRUE(fileCommand("F2", name));
    EXPECT_EQ(readFile(dir + "/" + name.substr(0, 63)), fileOf(expected));
    ASSERT_TRUE(fileCommand("F2", "cancelled.trk", "click 1"));  // a cancelled prompt saves nothing
    ASSERT_TRUE(fileCommand("F2", "escaped.trk", "key Escape"));  // nor one left with Escape, which
    ASSERT_TRUE(program.running());                                // closes only the prompt
    expected.trees[expected.numTrees++] = new ControlPoint(0, 0, 0, 1, 4.5f, 0, 0, 0);
    pressKey("n");  // 'N' selects the new tree; 'E' steps past the last
    pressKey("e");

    pressKey("c", 500);  // held: one step however long
    EXPECT_TRUE(pressKeyUntil(program, "u", "undo: 5 steps left\n"));
    EXPECT_EQ(readFile(fileCommand("F2", "back.trk") ? dir + "/back.trk" : ""), fileOf(expected));
    EXPECT_TRUE(pressKeyUntil(program, "u", "undo: 4 steps left\n"));  // the tree
    EXPECT_TRUE(pressKeyUntil(program, "u", "undo: 3 steps left\n"));  // the drag
    EXPECT_EQ(readFile(fileCommand("F2", "undone.trk") ? dir + "/undone.trk" : ""), undragged);
    EXPECT_TRUE(pressKeyUntil(program, "y", "redo: 2 steps left\n"));
    EXPECT_TRUE(pressKeyUntil(program, "y", "redo: 1 steps left\n"));
    EXPECT_EQ(readFile(fileCommand("F2", "redone.trk") ? dir + "/redone.trk" : ""), fileOf(expected));
    EXPECT_TRUE(pressKeyUntil(program, "u", "undo: 4 steps left\n"));
    pressKey("q");
    drag(1, 0, -10);  // a new change: the tree can no longer be redone
    pressKey("r");
    EXPECT_TRUE(pressKeyUntil(program, "y", "nothing to redo\n"));

    pressKey("c");
    ASSERT_TRUE(fileCommand("F1", name));
    pressKey("n", 200, 2);  // after the prompt every press still counts: two trees
    pressKey("e");
    ASSERT_TRUE(fileCommand("F2", "again.trk"));
    expected.trees[expected.numTrees++] = new ControlPoint(0, 0, 0, 1, 4.5f, 0, 0, 0);
    EXPECT_EQ(readFile(dir + "/again.trk"), fileOf(expected));
    EXPECT_EQ(readFile(dir + "/cancelled.trk") + readFile(dir + "/escaped.trk"), "");

    TrackView loop(0, 0, 10, 10);  // F1 imports track data, and one undo brings the track back
    loop.loadTrackFile(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    std::string data, reason;
    ASSERT_TRUE(trackDataCsv(loop, &data, &reason));
    writeFile(dir + "/loop.csv", data);
    ASSERT_TRUE(fileCommand("F1", "loop.csv"));
    EXPECT_NE(program.console().find("\nimported \"loop.csv\": 17 points, every row within 0.05"), std::string::npos);
    EXPECT_TRUE(pressKeyUntil(program, "u", "undo: "));

    EXPECT_EQ(program.console().find("Error"), std::string::npos) << program.console();
    pressKey("n");  // unsaved: Escape keeps exactly what F2 would write
    expected.trees[expected.numTrees++] = new ControlPoint(0, 0, 0, 1, 4.5f, 0, 0, 0);
    pressKey("Escape");  // still reaches the window and ends the program, which ran all along
    EXPECT_EQ(program.waitForExit(5000), 1);
    const std::string kept = keptTrack(program, dir);
    EXPECT_NE(program.console().find("\nunsaved track kept in " + kept + "\n"), std::string::npos) << program.console();
    EXPECT_EQ(readFile(kept), fileOf(expected));

    KalvoraProcess next(dir);
    ASSERT_NE(openMainWindow(next), "");
    EXPECT_EQ(next.console(), "unsaved track of an earlier run kept in " + kept + " (K opens it)\n");
    ASSERT_TRUE(fileCommand("F1", "missing.trk"));
    EXPECT_NE(waitForWindow(kHelpTitle, 5000), "");
    pressKey("m");  // the view still has the keyboard: a point to undo
    EXPECT_TRUE(pressKeyUntil(next, "u", "undo: 0 steps left\n"));
    EXPECT_TRUE(pressKeyUntil(next, "k", "opened kept track " + kept + "\n"));
    pressKey("Escape");
    EXPECT_EQ(next.waitForExit(5000), 1);
    EXPECT_EQ(readFile(kept), fileOf(expected));  // K leaves the kept file
    EXPECT_EQ(readFile(keptTrack(next, dir)), fileOf(expected));  // and its track unsaved: kept again
}

TEST(Interaction, ATrackNamedOnTheCommandLineRunsSpaceStopsAndStartsItGOpensAndClosesItsRideReportVColoursIt) {
    const std::string dir = makeScratchDir();
    TrackView ring(0, 0, 10, 10);
    std::vector<Point3> hill = circle(8, 10.0f, 2.0f);
    hill[0][1] = 4.0f;  // so that physics keeps changing the speed
    buildRing(ring, hill);
    writeFile(dir + "/ring.trk", fileOf(ring));
    KalvoraProcess program(dir, {}, "ring.trk");
    const std::string main = openMainWindow(program);
    ASSERT_NE(main, "");
    const std::string first = reportedPosition(program);
    pause(kSettleMs);
    EXPECT_NE(reportedPosition(program), first) << "the opened track's train does not run";
    pressKey("space");
    char start[96];
    const Point3 p = pointAt(ring.segments, 8, 0.0);
    std::snprintf(start, sizeof start, "%f,%f,%f", p[0], p[1], p[2]);
    EXPECT_EQ(reportedPosition(program), start);  // stopped at the start of segment 0
    const std::string picture = shell("import -window " + main + " rgb:- | md5sum");
    ASSERT_NE(picture.rfind("d41d8cd98f00b204e9800998ecf8427e", 0), 0u) << "no picture taken";  // md5 of nothing

    EXPECT_TRUE(pressKeyUntil(program, "g", rideReportSummary(computeRideReport(ring)))) << program.console();
    const std::string window = waitForWindow(kRideReportTitle);
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(shell("import -window " + main + " rgb:- | md5sum"), picture);
    EXPECT_EQ(reportedPosition(program), start);  // the report neither moves the train nor changes F5
    std::string help;  // pressed again only while no window came
    for (int tries = 0; tries < 3 && help.empty(); ++tries) pressKey("h"), help = waitForWindow(kHelpTitle, 3000);
    ASSERT_FALSE(help.empty());
    EXPECT_EQ(shell("import -window " + main + " rgb:- | md5sum"), picture);
    EXPECT_TRUE(pressKeyUntil(program, "v", "track colours: vertical g\n"));
    pause(kSettleMs);
    EXPECT_NE(shell("import -window " + main + " rgb:- | md5sum"), picture);  // the track coloured
    EXPECT_TRUE(pressKeyUntil(program, "v", "track colours: lateral g\n"));
    EXPECT_TRUE(pressKeyUntil(program, "v", "track colours: plain\n"));
    pause(kSettleMs);
    EXPECT_EQ(shell("import -window " + main + " rgb:- | md5sum"), picture);
    pressKey("space");
    pause(kSettleMs);
    EXPECT_NE(reportedPosition(program), start);
    ASSERT_TRUE(fileCommand("F2", "x", "click 1"));  // physics moves the speed while the prompt is up
    ASSERT_TRUE(fileCommand("x", "ring.OBJ"));  // the rail model, with its materials beside it
    EXPECT_NE(program.console().find("exported \"ring.OBJ\"\n"), std::string::npos);
    EXPECT_TRUE(readFile(dir + "/ring.OBJ").find("mtllib ring.mtl\no ties\ng ties\n") != std::string::npos &&
                readFile(dir + "/ring.mtl").find("newmtl rail") != std::string::npos);
    pressKey("q");  // G and H act with a point selected too
    pressKey("g");
    EXPECT_TRUE(windowGone(window));
    pressKey("h");
    EXPECT_TRUE(windowGone(help));
    EXPECT_TRUE(pressKeyUntil(program, "g", "ride report: lap length"));
    pressKey("Escape");  // the main window closes and the open report goes with it
    EXPECT_EQ(program.waitForExit(5000), 1);
    EXPECT_EQ(keptTrack(program, dir), "");  // the opened track was never changed
    EXPECT_EQ(program.console().find("unsaved track"), std::string::npos);
}

// However it ends a few seconds after a change, Kalvora keeps what F2 would have written then: on
// each end signal (one while a file prompt is open), when its X server goes away, and at a crash,
// which still ends it by that signal. A kill leaves what the tick kept within 30 s.
TEST(Interaction, EachWayOfEndingKeepsTheUnsavedTrack) {
    TrackView expected(0, 0, 10, 10);
    expected.trees[expected.numTrees++] = new ControlPoint(0, 0, 0, 1, 4.5f, 0, 0, 0);
    const struct { int signal; const char* promptKey; int status, endSignal; } ends[] = {
        {SIGTERM, "", 1, 0}, {SIGHUP, "F2", 1, 0}, {SIGINT, "", 1, 0}, {0, "", 1, 0}, {SIGSEGV, "", -1, SIGSEGV},
        {SIGKILL, "", -1, SIGKILL}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.signal ? strsignal(end.signal) : "the X server killed");
        const std::string dir = makeScratchDir();
        std::optional<OwnDisplay> display;
        if (!end.signal) display.emplace();
        KalvoraProcess program(dir);
        ASSERT_NE(openMainWindow(program), "");
        pressKey("n");
        for (int waited = 0; waited < 40000 && (end.signal == SIGKILL ? keptTrack(program, dir).empty() : waited < 2000);
             waited += 500)
            pause(500);
        if (*end.promptKey) { ASSERT_NE(openPrompt(end.promptKey), ""); }
        kill(end.signal ? program.pid() : display->pid, end.signal ? end.signal : SIGKILL);
        EXPECT_EQ(program.waitForExit(5000), end.status);
        EXPECT_EQ(program.endSignal(), end.endSignal);
        const std::string kept = keptTrack(program, dir);
        EXPECT_EQ(program.console(), end.signal == SIGKILL ? "" : "unsaved track kept in " + kept + "\n");
        EXPECT_EQ(readFile(kept), fileOf(expected));
    }
}

}  // namespace
