// The real program under Xvfb with real keys and mouse: every press counts with the mouse at
// rest, a point is dragged and saved, the track is cleared and loaded back, the report prints,
// and space stops and starts the train.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kSettleMs = 300;  // a few animation ticks

float floatAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t word = 0;
    for (int k = 0; k < 4; ++k) word |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + k])) << (8 * k);
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

class Interaction : public testing::Test {
protected:
    PrivateDisplay display;
    std::string dir = makeScratchDir();

    void start(KalvoraProcess& program) { ASSERT_FALSE(openMainWindow(program).empty()); }

    std::string report(const KalvoraProcess& program) { return reportedPosition(program); }

    void quit(KalvoraProcess& program) {
        ASSERT_TRUE(program.running());
        pressKey("Escape");
        EXPECT_EQ(program.waitForExit(5000), 1);
    }
};

TEST_F(Interaction, PressesWithTheMouseAtRestEditingSavingClearingAndLoadingAllWork) {
    KalvoraProcess program(dir);
    start(program);
    for (int i = 0; i < 3; ++i) pressKey("m");  // the pointer does not move between presses
    // The new point is selected: drag it 10 px right and 4 px down.
    mouseDown(1);
    pause(100);
    moveMouseBy(10, 4);
    pause(100);
    mouseUp(1);
    pressKey("r");  // deselect, so the file keys act
    ASSERT_TRUE(fileCommand("F2", "my track.trk"));
    const std::string saved = readFile(dir + "/my track.trk");
    ASSERT_EQ(saved.size(), trackFileSize(3, 0));  // three points, all from three presses
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 24), 0.75f);                 // point 2 x
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 24 + 4), 0.125f);            // y unchanged
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 24 + 8), 0.3f);              // z
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 36 + 24), 0.75f);            // its partner moved along
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 36 + 24 + 4), 4.125f);

    pressKey("c");
    ASSERT_TRUE(fileCommand("F1", "my track.trk"));
    // After the prompt every press still counts: two trees, then the loaded track saved again.
    pressKey("n");
    pressKey("n");
    pressKey("e");  // 'N' selected the second tree; 'E' steps past the last: nothing selected
    ASSERT_TRUE(fileCommand("F2", "again.trk"));
    const std::string again = readFile(dir + "/again.trk");
    ASSERT_EQ(again.size(), trackFileSize(3, 2));
    EXPECT_EQ(again.substr(0, 4 + 72), saved.substr(0, 4 + 72));

    report(program);
    char energy[64];
    std::snprintf(energy, sizeof energy, "train's total energy: %f\n", floatAt(saved, saved.size() - 16));
    EXPECT_NE(program.console().find(energy), std::string::npos) << program.console();
    EXPECT_NE(program.console().find("gravitational acceleration constant: -20.799999\n"), std::string::npos);
    EXPECT_EQ(program.console().find("Error"), std::string::npos) << program.console();
    quit(program);
}

TEST_F(Interaction, SpaceStopsAndStartsTheRunningTrain) {
    TrackView ring(0, 0, 10, 10);
    buildRing(ring, circle(8, 10.0f, 2.0f));
    const std::vector<unsigned char> bytes = encodeTrack(ring);
    writeFile(dir + "/ring.trk", std::string(bytes.begin(), bytes.end()));
    KalvoraProcess program(dir);
    start(program);
    ASSERT_TRUE(fileCommand("F1", "ring.trk"));  // three points or more: the train starts
    const std::string first = report(program);
    pause(kSettleMs);
    EXPECT_NE(report(program), first) << "the loaded train does not move";

    pressKey("space");
    const std::string stopped = report(program);
    pause(kSettleMs);
    EXPECT_EQ(report(program), stopped);
    char start0[96];
    const Point3 p = pointAt(ring.segments, 8, 0.0);
    std::snprintf(start0, sizeof start0, "%f,%f,%f", p[0], p[1], p[2]);
    EXPECT_EQ(stopped, start0);  // stopped at the start of segment 0

    pressKey("space");
    pause(kSettleMs);
    EXPECT_NE(report(program), stopped);
    quit(program);
}

}  // namespace
