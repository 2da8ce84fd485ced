// The real program under Xvfb with real keys: undo and redo of a held clear, a tree and drags,
// and a track file named on the command line.
#include <gtest/gtest.h>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"

namespace {

// The speed is the 11th value from a file's end; physics rewrites it while the train runs.
constexpr std::size_t kSpeedFromEnd = 44;

class UndoAndOpen : public testing::Test {
protected:
    PrivateDisplay display;
    std::string dir = makeScratchDir();

    std::string saved(const std::string& name) {
        EXPECT_TRUE(fileCommand("F2", name));
        return readFile(dir + "/" + name);
    }
    void drag(int dx) {
        mouseDown(1);
        pause(100);
        moveMouseBy(dx, 0);
        pause(100);
        mouseUp(1);
    }
    // Starts `kalvora file`, accepts the size dialog and returns the track it then saves.
    std::string openedWith(const std::string& file) {
        shell("cd " + dir + " && (" KALVORA_PROGRAM_PATH " '" + file + "' >console.txt 2>errors.txt </dev/null &)");
        focusWindow(waitForWindow("Kalvora"));
        pressKey("Return");
        const std::string main = waitForWindow("Kalvora - Build 53");
        moveMouse(kRestX, kRestY);
        focusWindow(main);
        const std::string track = saved("opened.trk");
        pressKey("Escape");
        return track;
    }
};

TEST_F(UndoAndOpen, UndoBringsBackAHeldClearThenTheTreeAndTheDragAndRedoGoesForward) {
    KalvoraProcess program(dir);
    ASSERT_FALSE(openMainWindow(program).empty());
    for (int i = 0; i < 3; ++i) pressKey("m");
    pressKey("r");
    pressKey("space");  // stops the train the third point started: the stored speed stays put
    const std::string undragged = saved("undragged.trk");
    pressKey("q");
    drag(10);
    pressKey("r");
    pressKey("n");
    const std::string full = saved("full.trk");
    pressKey("c", 500);
    pressKey("u");
    EXPECT_EQ(saved("back.trk"), full);
    pressKey("u");
    pressKey("u");
    EXPECT_EQ(saved("undone.trk"), undragged);
    pressKey("y");
    pressKey("y");
    EXPECT_EQ(saved("redone.trk"), full);
    pressKey("u");
    pressKey("q");
    drag(-10);  // a new change: the tree can no longer be redone
    pressKey("y");
    EXPECT_TRUE(program.waitForConsole("undo: 5 steps left\nundo: 4 steps left\nundo: 3 steps left\n"
                                       "redo: 2 steps left\nredo: 1 steps left\nundo: 4 steps left\n"
                                       "nothing to redo\n", 2000)) << program.console();
}

TEST_F(UndoAndOpen, AFileNamedOnTheCommandLineOpensAfterTheSizeDialog) {
    const std::string loop = readFile(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    std::string opened = openedWith(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    opened.replace(opened.size() - kSpeedFromEnd, 4, loop, loop.size() - kSpeedFromEnd, 4);
    EXPECT_EQ(opened, loop);
}

TEST_F(UndoAndOpen, AMissingFileNamedOnTheCommandLineIsReportedAndLeavesTheEmptyTrack) {
    const std::vector<unsigned char> empty = encodeTrack(TrackView(0, 0, 10, 10));
    EXPECT_EQ(openedWith("missing.trk"), std::string(empty.begin(), empty.end()));
    EXPECT_EQ(readFile(dir + "/console.txt").rfind("Error loading file \"missing.trk\": ", 0), 0u);
}

}  // namespace
