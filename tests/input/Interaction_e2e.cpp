// The real program under Xvfb with real keys and mouse: every press counts with the mouse at
// rest, a point is dragged and saved, the track is cleared and loaded back, the report prints,
// and space stops and starts the train.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <regex>
#include <sstream>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"
#include "tests/support/TrackFixtures.h"

namespace {

constexpr int kViewX = 400, kViewY = 300;  // where the pointer rests, inside the 800 x 600 view
constexpr int kSettleMs = 300;             // a few animation ticks

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
    std::string main;

    // Starts the program at 800 x 600 and rests the pointer inside the view.
    void start(KalvoraProcess& program) {
        const std::string dialog = waitForWindow("Kalvora");
        ASSERT_FALSE(dialog.empty());
        focusWindow(dialog);
        pressKey("Return");
        main = waitForWindow("Kalvora - Build 53");
        ASSERT_FALSE(main.empty());
        moveMouse(kViewX, kViewY);
        focusWindow(main);
        pause(kSettleMs);
        ASSERT_TRUE(program.running());
    }

    // The file prompt: the one visible window 330 x 75 pixels.
    std::string waitForPrompt() {
        for (int waited = 0; waited < 10000; waited += 100) {
            std::istringstream ids(shell("xdotool search --onlyvisible --name '' 2>/dev/null"));
            for (std::string id; std::getline(ids, id);) {
                const WindowGeometry g = windowGeometry(id);
                if (g.w == kFilePromptWindowWidth && g.h == 75) return id;
            }
            pause(100);
        }
        return "";
    }

    // Presses the file key, types the name into the prompt and confirms it.
    void fileCommand(const std::string& key, const std::string& name) {
        pressKey(key);
        const std::string prompt = waitForPrompt();
        ASSERT_FALSE(prompt.empty()) << "no prompt after " << key;
        focusWindow(prompt);
        typeText(name);
        pressKey("Return");
        EXPECT_TRUE(windowGone(prompt));
        moveMouse(kViewX, kViewY);  // the dialog opened with its button under the pointer
        pause(kSettleMs);
    }

    // Every "train position" the report printed so far.
    std::vector<std::string> positions(const KalvoraProcess& program) {
        std::vector<std::string> found;
        const std::string text = program.console();
        const std::regex line("train position: \\(([^)]*)\\)");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1]);
        return found;
    }

    std::string report(const KalvoraProcess& program) {
        const size_t before = positions(program).size();
        pressKey("F5");
        for (int waited = 0; positions(program).size() == before && waited < 3000; waited += 50) pause(50);
        return positions(program).empty() ? "" : positions(program).back();
    }

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
    fileCommand("F2", "my track.trk");
    const std::string saved = readFile(dir + "/my track.trk");
    ASSERT_EQ(saved.size(), trackFileSize(3, 0));  // three points, all from three presses
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 24), 0.75f);                 // point 2 x
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 24 + 4), 0.125f);            // y unchanged
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 24 + 8), 0.3f);              // z
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 36 + 24), 0.75f);            // its partner moved along
    EXPECT_FLOAT_EQ(floatAt(saved, 4 + 36 + 24 + 4), 4.125f);

    pressKey("c");
    fileCommand("F1", "my track.trk");
    // After the prompt every press still counts: two trees, then the loaded track saved again.
    pressKey("n");
    pressKey("n");
    pressKey("e");  // 'N' selected the second tree; 'E' steps past the last: nothing selected
    fileCommand("F2", "again.trk");
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
    fileCommand("F1", "ring.trk");  // three points or more: the train starts
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
