// The real program's ride report: G opens its window and prints the lap's summary, G closes it,
// neither the main view's picture nor the train's place that F5 prints changes meanwhile, and closing the main
// window with the report open ends the program.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/RideReportWindow.h"
#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

TEST(RideReportWindow, GOpensTheReportAndPrintsItsSummaryGAgainClosesItAndTheMainViewStaysAsItWas) {
    const std::string dir = makeScratchDir();
    TrackView ring(0, 0, 10, 10);
    buildRing(ring, circle(8, 10.0f, 2.0f));
    const std::vector<unsigned char> bytes = encodeTrack(ring);
    writeFile(dir + "/ring.trk", std::string(bytes.begin(), bytes.end()));
    KalvoraProcess program(dir);
    const std::string main = openMainWindow(program);
    ASSERT_TRUE(fileCommand("F1", "ring.trk"));
    pressKey("space");  // the train stops at the start: the picture stands still
    const std::string position = reportedPosition(program);  // also lets the stop reach the picture
    const std::string picture = shell("import -window " + main + " rgb:- | md5sum");

    pressKey("g");
    const std::string window = waitForWindow(kRideReportTitle);
    ASSERT_FALSE(window.empty());
    const RideReport r = computeRideReport(ring);
    char summary[512];
    std::snprintf(summary, sizeof summary, "ride report: lap length %f, lap time %f s\nspeed: min %f max %f\n"
                  "vertical g: min %f max %f\nlateral g: max %f\nairtime: %f s\nstalls: %d\n", r.lapLength, r.lapTime,
                  r.minSpeed, r.maxSpeed, r.minVerticalG, r.maxVerticalG, r.maxLateralG, r.airtime, r.stalls);
    EXPECT_TRUE(program.waitForConsole(summary, 5000)) << program.console();
    EXPECT_EQ(shell("import -window " + main + " rgb:- | md5sum"), picture);
    EXPECT_EQ(reportedPosition(program), position);
    pressKey("q");  // G acts with a point selected too
    pressKey("g");
    EXPECT_TRUE(windowGone(window));
    pressKey("g");
    pressKey("Escape");  // the main window closes and the open report goes with it
    EXPECT_EQ(program.waitForExit(5000), 1);
}

}  // namespace
