// The endurance run: the real program driven for a bounded time (KALVORA_ENDURANCE_SECONDS,
// default 60; scripts/endurance.sh runs it longer) through cycles of everything a user does —
// points added up to 100 and dragged, every display key, the ride views, save, clear, load —
// with LeakSanitizer preloaded. It must still answer F5 at the end, its resident memory must
// stop growing after the first cycle, and it must end without a leak.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>

#include "tests/support/Desktop.h"

#ifndef KALVORA_LSAN_RUNTIME
#define KALVORA_LSAN_RUNTIME "liblsan.so.0"
#endif
#ifndef KALVORA_SOURCE_DIR
#define KALVORA_SOURCE_DIR "."
#endif

namespace {

constexpr int kDefaultSeconds = 60;
constexpr int kMinCycles = 3;
constexpr long kAllowedGrowthKiB = 1024;  // resident memory may grow this much after warm-up
constexpr int kRingPoints = 8;            // points dragged onto a ring; the rest stay stacked
constexpr double kRingPixels = 120.0;     // 9 world units at 0.075 per pixel
constexpr int kDragStep = 20;             // pixels per mouse event, below the 30-pixel jump limit

// Holds each key of a space-separated list, in one xdotool run.
void pressKeys(const std::string& keys, int times = 1) {
    std::string chain;
    for (int i = 0; i < times; ++i) chain += " keydown " + keys + " sleep 0.06 keyup " + keys + " sleep 0.03";
    shell("xdotool" + chain);
}

// Drags the selected point by (dx, dy) pixels in steps the editor accepts, and rests the pointer.
void dragBy(int dx, int dy) {
    mouseDown(1);
    std::string chain;
    const int steps = std::max(std::abs(dx), std::abs(dy)) / kDragStep + 1;
    for (int i = 0; i < steps; ++i) {
        chain += " mousemove_relative -- " + std::to_string(dx / steps) + " " + std::to_string(dy / steps) +
                 " sleep 0.02";
    }
    shell("xdotool" + chain);
    mouseUp(1);
    moveMouse(kRestX, kRestY);
}

void oneCycle(const std::string& dir) {
    pressKey("c");
    for (int i = 0; i < kRingPoints; ++i) {
        pressKey("m");  // the new point is selected
        const double a = 2 * M_PI * i / kRingPoints;
        dragBy(static_cast<int>(kRingPixels * std::cos(a)), static_cast<int>(kRingPixels * std::sin(a)));
    }
    pressKeys("m", 100 - kRingPoints);  // up to the largest track, stacked on the origin
    pressKey("r");                       // nothing selected, so every key acts
    for (const char* key : {"2", "3", "4", "minus", "plus", "bracketright", "bracketleft", "b", "F3"}) {
        pressKeys(key, 2);
    }
    pressKeys("Up Down Prior Next d F4");
    pressKeys("1", 6);  // the five ride views and back to the free view
    ASSERT_TRUE(fileCommand("F2", "endurance.trk"));
    ASSERT_EQ(readFile(dir + "/endurance.trk").size(), 68u + 24u * 100u) << "not 100 points and no trees";
    pressKey("c");
    ASSERT_TRUE(fileCommand("F1", "endurance.trk"));
    ASSERT_TRUE(fileCommand("F1", "largest.trk"));
    pressKeys("1", 2);  // ride view 2 on the largest track
    pause(500);
    pressKeys("1", 4);
}

TEST(Endurance, StaysResponsiveWithSteadyMemoryAndNoLeaks) {
    const char* setting = std::getenv("KALVORA_ENDURANCE_SECONDS");
    const int seconds = setting ? std::atoi(setting) : kDefaultSeconds;
    PrivateDisplay display;
    const std::string dir = makeScratchDir();
    writeFile(dir + "/largest.trk", readFile(std::string(KALVORA_SOURCE_DIR) + "/tracks/largest.trk"));
    KalvoraProcess program(dir, {std::string("LD_PRELOAD=") + KALVORA_LSAN_RUNTIME,
                                 std::string("LSAN_OPTIONS=suppressions=") + KALVORA_SOURCE_DIR + "/tests/lsan.supp"});
    ASSERT_FALSE(openMainWindow(program).empty());
    ASSERT_NE(readFile("/proc/" + std::to_string(program.pid()) + "/maps").find("liblsan"), std::string::npos)
        << "LeakSanitizer is not loaded: " << KALVORA_LSAN_RUNTIME;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long warmedUp = 0, last = 0, highest = 0;
    int cycles = 0;
    while (cycles < kMinCycles || std::chrono::steady_clock::now() < deadline) {
        oneCycle(dir);
        if (HasFatalFailure()) break;
        ASSERT_TRUE(program.running()) << program.errors();
        last = program.residentKiB();
        if (++cycles == 1) warmedUp = last;
        highest = std::max(highest, last);
        std::printf("cycle %d: resident %ld KiB\n", cycles, last);
    }
    EXPECT_LT(highest - warmedUp, kAllowedGrowthKiB) << "after " << cycles << " cycles, from " << warmedUp << " KiB";

    EXPECT_NE(reportedPosition(program), "") << "no answer to F5";
    pressKey("Escape");
    EXPECT_EQ(program.waitForExit(10000), 1);  // LeakSanitizer would end it with 23
    EXPECT_EQ(program.errors().find("LeakSanitizer"), std::string::npos) << program.errors();
    EXPECT_EQ(program.console().find("Error"), std::string::npos) << program.console();
}

}  // namespace
