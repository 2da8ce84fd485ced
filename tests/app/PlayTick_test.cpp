// The animation tick's 16 ms rule and the slider stepping, with a fake clock.
#include <gtest/gtest.h>

#include <FL/Fl.H>

#include "app/PlayTick.h"
#include "app/TextPrompt.h"
#include "track/TrackView.h"

namespace {

long fakeNow = 0;
long fakeClock() { return fakeNow; }

int callbacks = 0;
void countCallback(Fl_Widget*, void*) { ++callbacks; }

class PlayTickTest : public testing::Test {
protected:
    void SetUp() override {
        tickClock = fakeClock;
        fakeNow = 1000;
        callbacks = 0;
    }
    void TearDown() override { tickClock = steadyClockMs; }
    TrackView view{0, 0, 10, 10};
};

TEST_F(PlayTickTest, TicksOnlyWhenMoreThan16MsHavePassed) {
    SpeedSlider slider(&view, 0, 0, 0, 0, 0);
    slider.callback(countCallback);
    PlayButton button(&slider, 0, 0, 0, 0);
    playTick(&button);
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(button.lastTick, 1000);
    fakeNow += 10;
    playTick(&button);
    fakeNow += 6;  // 16 ms after the tick: still too early
    playTick(&button);
    EXPECT_EQ(callbacks, 1);
    fakeNow += 1;  // 17 ms
    playTick(&button);
    EXPECT_EQ(callbacks, 2);
    EXPECT_EQ(button.lastTick, 1017);
    EXPECT_EQ(slider.value(), 0.0);  // maximum 0: the value stays at 0
}

TEST_F(PlayTickTest, StepsTheValueAndWrapsBelowTheMaximum) {
    SpeedSlider slider(&view, 10, 0, 0, 0, 0);
    EXPECT_EQ(slider.user_data(), &view);
    slider.callback(countCallback);
    PlayButton button(&slider, 0, 0, 0, 0);
    slider.value(3);
    playTick(&button);
    EXPECT_EQ(slider.value(), 4.0);
    slider.value(9);
    fakeNow += 17;
    playTick(&button);
    EXPECT_EQ(slider.value(), 0.0);
}

TEST_F(PlayTickTest, DestroyingTheButtonStopsTheTicks) {
    SpeedSlider slider(&view, 0, 0, 0, 0, 0);
    {
        PlayButton button(&slider, 0, 0, 0, 0);
        EXPECT_TRUE(Fl::has_idle(playTick, &button));
    }
    EXPECT_EQ(Fl::has_idle(playTick, nullptr), 0);
}

TEST(PromptText, CopyKeepsShortTextsAndCutsLongOnesAtACharacterBoundary) {
    char buffer[kPromptBufferSize + 8];
    std::fill(buffer, buffer + sizeof buffer, '#');
    copyPromptText(buffer, "tracks/loop one.trk");
    EXPECT_STREQ(buffer, "tracks/loop one.trk");

    const std::string longName(100, 'a');
    std::fill(buffer, buffer + sizeof buffer, '#');
    copyPromptText(buffer, longName.c_str());
    EXPECT_EQ(std::string(buffer), longName.substr(0, kPromptBufferSize - 1));
    for (int i = kPromptBufferSize; i < static_cast<int>(sizeof buffer); ++i) EXPECT_EQ(buffer[i], '#');

    // 62 ASCII bytes then a two-byte character: the character does not fit and is dropped whole.
    const std::string accented = std::string(62, 'b') + "\xC3\xA9" + "tail";
    copyPromptText(buffer, accented.c_str());
    EXPECT_EQ(std::string(buffer), std::string(62, 'b'));
}

}  // namespace
