// The real program with real keys and mouse: every press counts with the mouse at rest, a point
// is dragged and saved, the track is cleared and loaded back, the report prints, and space stops
// and starts the train. Screenshot.* is not a test: scripts/screenshot.sh takes the README's
// picture with it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kSettleMs = 300;  // a few animation ticks

std::string fileOf(const TrackView& view) {
    const std::vector<unsigned char> bytes = encodeTrack(view);
    return std::string(bytes.begin(), bytes.end());
}

TEST(Interaction, PressesWithTheMouseAtRestEditingSavingClearingAndLoadingAllWork) {
    const std::string dir = makeScratchDir();
    KalvoraProcess program(dir);
    ASSERT_NE(openMainWindow(program), "");
    pressKey("m", 200, 3);  // the pointer does not move between presses
    pause(kSettleMs);
    drag(1, 10, 4);         // the new point is selected: 10 px right and 4 px down, its partner along
    pressKey("r");          // deselect, so the file keys act
    TrackView expected(0, 0, 10, 10);
    buildRing(expected, {{0, 0.125f, 0}, {0, 0.125f, 0}, {10 * 0.075f, 0.125f, 4 * 0.075f}});
    expected.trainSpeed = 4.0f;  // what the energy gives on a flat track: sqrt(2 x 800 / 100)
    const std::string name = std::string(60, 'x') + " track.trk";  // the prompt keeps 63 characters
    ASSERT_TRUE(fileCommand("F2", name));
    EXPECT_EQ(readFile(dir + "/" + name.substr(0, 63)), fileOf(expected));
    ASSERT_TRUE(fileCommand("F2", "cancelled.trk", "click 1"));  // a cancelled prompt saves nothing

    pressKey("c");
    ASSERT_TRUE(fileCommand("F1", name));
    pressKey("n", 200, 2);  // after the prompt every press still counts: two trees
    pressKey("e");          // 'N' selected the second tree; 'E' steps past the last
    ASSERT_TRUE(fileCommand("F2", "again.trk"));
    for (int i = 0; i < 2; ++i) expected.trees[expected.numTrees++] = new ControlPoint(0, 0, 0, 1, 4.5f, 0, 0, 0);
    EXPECT_EQ(readFile(dir + "/again.trk"), fileOf(expected));
    EXPECT_EQ(readFile(dir + "/cancelled.trk"), "");

    reportedPosition(program);
    char energy[64];
    std::snprintf(energy, sizeof energy, "train's total energy: %f\n", expected.totalEnergy);
    EXPECT_NE(program.console().find(energy), std::string::npos) << program.console();
    EXPECT_EQ(program.console().find("Error"), std::string::npos) << program.console();
    pressKey("Escape");  // still reaches the window and ends the program, which ran all along
    EXPECT_EQ(program.waitForExit(5000), 1);
}

TEST(Interaction, SpaceStopsTheRunningTrainAtTheStartAndStartsItAgain) {
    const std::string dir = makeScratchDir();
    TrackView ring(0, 0, 10, 10);
    buildRing(ring, circle(8, 10.0f, 2.0f));
    writeFile(dir + "/ring.trk", fileOf(ring));
    KalvoraProcess program(dir);
    ASSERT_NE(openMainWindow(program), "");
    ASSERT_TRUE(fileCommand("F1", "ring.trk"));  // three points or more: the train starts
    const std::string first = reportedPosition(program);
    pause(kSettleMs);
    EXPECT_NE(reportedPosition(program), first) << "the loaded train does not move";

    pressKey("space");
    char start[96];
    const Point3 p = pointAt(ring.segments, 8, 0.0);
    std::snprintf(start, sizeof start, "%f,%f,%f", p[0], p[1], p[2]);
    EXPECT_EQ(reportedPosition(program), start);  // stopped at the start of segment 0
    pause(kSettleMs);
    EXPECT_EQ(reportedPosition(program), start);
    pressKey("space");
    pause(kSettleMs);
    EXPECT_NE(reportedPosition(program), start);
    pressKey("Escape");
    EXPECT_EQ(program.waitForExit(5000), 1);
}

// tracks/loop.trk in rails mode, the view tilted, written to $KALVORA_SCREENSHOT.
TEST(Screenshot, LoopTrackInRailsMode) {
    const char* out = std::getenv("KALVORA_SCREENSHOT");
    ASSERT_NE(out, nullptr) << "run by scripts/screenshot.sh";
    const std::string dir = makeScratchDir();
    writeFile(dir + "/loop.trk", readFile(KALVORA_SOURCE_DIR "/tracks/loop.trk"));
    KalvoraProcess program(dir);
    ASSERT_NE(openMainWindow(program), "");
    ASSERT_TRUE(fileCommand("F1", "loop.trk"));
    drag(3, 0, 126, 18);               // tilt the free view: straight down from the middle
    pressKey("bracketright", 150, 7);  // pillars under every 8th tie or so
    pressKey("a", 150, 4);             // a little closer
    pause(1500);                       // let the train ride into the picture
    EXPECT_EQ(shell("import -window root -crop 800x600+0+0 +repage '" + std::string(out) + "' && echo ok"), "ok");
    pressKey("g");  // and the track's ride report, in ride-report.png beside it
    const std::string report = waitForWindow("Kalvora - Ride report");
    ASSERT_NE(report, "");
    pause(1000);
    EXPECT_EQ(shell("import -window " + report + " \"$(dirname '" + out + "')/ride-report.png\" && echo ok"), "ok");
}

}  // namespace
