// The real program at start-up: the window-size dialog, res.cfg, the main window, the exit status.
#include <gtest/gtest.h>

#include "tests/support/Desktop.h"

namespace {

class Startup : public testing::Test {
protected:
    PrivateDisplay display;
    std::string dir = makeScratchDir();

    // Starts the program and gives its size dialog the input focus.
    std::string startAtDialog(KalvoraProcess& program) {
        const std::string dialog = waitForWindow("Kalvora");
        EXPECT_FALSE(dialog.empty()) << "no size dialog";
        EXPECT_TRUE(program.running());
        focusWindow(dialog);
        return dialog;
    }

    void closeMainWindow(KalvoraProcess& program, const std::string& window) {
        focusWindow(window);
        pressKey("Escape");
        EXPECT_EQ(program.waitForExit(5000), 1);
    }
};

TEST_F(Startup, EnterWithoutConfigRemembers800x600AndOpensThatWindow) {
    KalvoraProcess program(dir);
    startAtDialog(program);
    pressKey("Return");
    const std::string main = waitForWindow("Kalvora - Build 53");
    ASSERT_FALSE(main.empty());
    const WindowGeometry g = windowGeometry(main);
    EXPECT_EQ(g.w, 800);
    EXPECT_EQ(g.h, 600);
    EXPECT_EQ(readFile(dir + "/res.cfg"), "800\n600");
    pause(300);  // a few animation ticks
    EXPECT_TRUE(program.running());
    closeMainWindow(program, main);
}

TEST_F(Startup, CancelEndsWithStatus1WithoutAMainWindow) {
    KalvoraProcess program(dir);
    startAtDialog(program);
    // The dialog opens with its Cancel button under the pointer.
    shell("xdotool click 1");
    EXPECT_EQ(program.waitForExit(5000), 1);
    EXPECT_EQ(shell("xdotool search --name 'Build 53' 2>/dev/null"), "");
    EXPECT_FALSE(fileExists(dir + "/res.cfg"));
}

TEST_F(Startup, ATypedSizeIsUsedAndOfferedAgainAtTheNextStart) {
    {
        KalvoraProcess program(dir);
        startAtDialog(program);
        shell("xdotool key ctrl+a");
        typeText("1024");
        pressKey("Tab");
        typeText("768");
        pressKey("Return");
        const std::string main = waitForWindow("Kalvora - Build 53");
        ASSERT_FALSE(main.empty());
        EXPECT_EQ(windowGeometry(main).w, 1024);
        EXPECT_EQ(windowGeometry(main).h, 768);
        EXPECT_EQ(readFile(dir + "/res.cfg"), "1024\n768");
        closeMainWindow(program, main);
    }
    KalvoraProcess again(dir);
    startAtDialog(again);
    pressKey("Return");  // accept what the dialog offers
    const std::string main = waitForWindow("Kalvora - Build 53");
    ASSERT_FALSE(main.empty());
    EXPECT_EQ(windowGeometry(main).w, 1024);
    EXPECT_EQ(windowGeometry(main).h, 768);
    closeMainWindow(again, main);
}

TEST_F(Startup, OutOfRangeSizeFallsBackTo800x600AndIsRewritten) {
    writeFile(dir + "/res.cfg", "300\n600");
    KalvoraProcess program(dir);
    startAtDialog(program);
    pressKey("Return");
    const std::string main = waitForWindow("Kalvora - Build 53");
    ASSERT_FALSE(main.empty());
    EXPECT_EQ(windowGeometry(main).w, 800);
    EXPECT_EQ(readFile(dir + "/res.cfg"), "800\n600");
    closeMainWindow(program, main);
}

}  // namespace
