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
};

TEST_F(Interaction, PressesWithTheMouseAtRestEditingSavingClearingAndLoadingAllWork) {
    KalvoraProcess program(dir);
    ASSERT_FALSE(openMainWindow(program).empty());
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
    // x, y, z of point 2 (bytes 28..39) and of its partner (bytes 64..75), which moved along.
    for (auto [offset, value] : {std::pair{28, 0.75f}, {32, 0.125f}, {36, 0.3f}, {64, 0.75f}, {68, 4.125f}, {72, 0.3f}})
        EXPECT_FLOAT_EQ(floatAt(saved, offset), value) << "at byte " << offset;

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

    reportedPosition(program);
    char energy[64];
    std::snprintf(energy, sizeof energy, "train's total energy: %f\n", floatAt(saved, saved.size() - 16));
    EXPECT_NE(program.console().find(energy), std::string::npos) << program.console();
    EXPECT_NE(program.console().find("gravitational acceleration constant: -20.799999\n"), std::string::npos);
    EXPECT_EQ(program.console().find("Error"), std::string::npos) << program.console();
    pressKey("Escape");  // still reaches the window and ends the program, which ran all along
    EXPECT_EQ(program.waitForExit(5000), 1);
}

TEST_F(Interaction, SpaceStopsAndStartsTheRunningTrain) {
    TrackView ring(0, 0, 10, 10);
    buildRing(ring, circle(8, 10.0f, 2.0f));
    const std::vector<unsigned char> bytes = encodeTrack(ring);
    writeFile(dir + "/ring.trk", std::string(bytes.begin(), bytes.end()));
    KalvoraProcess program(dir);
    ASSERT_FALSE(openMainWindow(program).empty());
    ASSERT_TRUE(fileCommand("F1", "ring.trk"));  // three points or more: the train starts
    const std::string first = reportedPosition(program);
    pause(kSettleMs);
    EXPECT_NE(reportedPosition(program), first) << "the loaded train does not move";

    pressKey("space");
    const std::string stopped = reportedPosition(program);
    pause(kSettleMs);
    EXPECT_EQ(reportedPosition(program), stopped);
    char start[96];
    const Point3 p = pointAt(ring.segments, 8, 0.0);
    std::snprintf(start, sizeof start, "%f,%f,%f", p[0], p[1], p[2]);
    EXPECT_EQ(stopped, start);  // stopped at the start of segment 0

    pressKey("space");
    pause(kSettleMs);
    EXPECT_NE(reportedPosition(program), stopped);
    pressKey("Escape");  // still reaches the window and ends the program, which ran all along
    EXPECT_EQ(program.waitForExit(5000), 1);
}

}  // namespace
