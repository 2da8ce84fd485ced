// The real program under Xvfb with real keys: undo and redo of a held clear, a tree and drags,
// and a track file named on the command line.
#include <gtest/gtest.h>

#include "input/TrackFile.h"
#include "tests/support/Desktop.h"

// Long enough for a busy program to see every key down before it is let go.
constexpr int kHoldMs = 300;

class UndoAndOpen : public testing::Test {
protected:
    std::string dir = makeScratchDir();

    std::string saved(const std::string& name) { return fileCommand("F2", name) ? readFile(dir + "/" + name) : "none"; }
    // Raises the selected point by one drag event: a hill, where a running train changes speed.
    void drag() { shell("xdotool mousedown 3 sleep 0.1 mousemove_relative -- 0 -10 sleep 0.1 mouseup 3"); }
    // Starts `kalvora file`, accepts the size dialog and returns the track it then saves.
    std::string openedWith(const std::string& file) {
        shell("cd " + dir + " && (" KALVORA_PROGRAM_PATH " '" + file + "' >console.txt 2>errors.txt </dev/null &)");
        focusWindow(waitForWindow("Kalvora"));
        pressKey("Return");
        moveMouse(kRestX, kRestY);
        const std::string main = waitForWindow("Kalvora - Build 53");
        focusWindow(main);
        pause(300);  // a few animation ticks
        const std::string track = saved("opened.trk");
        // The opening is no step, nor is a save while physics moves the train.
        for (const char* key : {"u", "Escape"}) pressKey(key, kHoldMs);
        EXPECT_TRUE(windowGone(main));
        return track;
    }
};

TEST_F(UndoAndOpen, UndoBringsBackAHeldClearThenTheTreeAndTheDragAndRedoGoesForward) {
    KalvoraProcess program(dir);
    ASSERT_FALSE(openMainWindow(program).empty());
    // Space stops the train the third point started, so the stored speed stays put.
    for (const char* key : {"m", "m", "m", "r", "space"}) pressKey(key, kHoldMs);
    const std::string undragged = saved("undragged.trk");
    pressKey("q", kHoldMs);
    drag();
    for (const char* key : {"r", "n"}) pressKey(key, kHoldMs);
    const std::string full = saved("full.trk");
    pressKey("c", 500);
    pressKey("u", kHoldMs);
    EXPECT_EQ(saved("back.trk"), full);
    for (const char* key : {"u", "u"}) pressKey(key, kHoldMs);
    EXPECT_EQ(saved("undone.trk"), undragged);
    for (const char* key : {"y", "y"}) pressKey(key, kHoldMs);
    EXPECT_EQ(saved("redone.trk"), full);
    for (const char* key : {"u", "q"}) pressKey(key, kHoldMs);
    drag();  // a new change: the tree can no longer be redone
    pressKey("y", kHoldMs);
    EXPECT_EQ(program.console(), "undo: 5 steps left\nundo: 4 steps left\nundo: 3 steps left\nredo: 2 steps left\n"
                                 "redo: 1 steps left\nundo: 4 steps left\nnothing to redo\n");
}

TEST_F(UndoAndOpen, AFileNamedOnTheCommandLineOpensAfterTheSizeDialogAMissingOneIsReported) {
    const std::string loop = readFile(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    std::string opened = openedWith(KALVORA_SOURCE_DIR "/tracks/loop.trk");
    // The speed, 44 bytes before the end, is rewritten by physics while the loaded train runs.
    opened.replace(opened.size() - 44, 4, loop, loop.size() - 44, 4);
    EXPECT_EQ(opened, loop);
    EXPECT_EQ(readFile(dir + "/console.txt"), "nothing to undo\n");
    EXPECT_EQ(openedWith("missing.trk").size(), trackFileSize(0, 0));  // the empty track of the start
    EXPECT_EQ(readFile(dir + "/console.txt").rfind("Error loading file \"missing.trk\": ", 0), 0u);
}
