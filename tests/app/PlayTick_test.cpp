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

// The tick fires only after more than 16 ms, steps the slider's value and wraps it below the
// maximum, and fires the slider's callback each time.
TEST_F(PlayTickTest, TicksOnlyAfterMoreThan16MsAndWrapsTheValueBelowTheMaximum) {
    SpeedSlider slider(&view, 10, 0, 0, 0, 0);
    EXPECT_EQ(slider.user_data(), &view);
    slider.callback(countCallback);
    PlayButton button(&slider, 0, 0, 0, 0);
    slider.value(8);
    const struct { long advance; int callbacks; double value; } steps[] = {
        {0, 1, 9}, {16, 1, 9}, {1, 2, 0}, {17, 3, 1}};  // 17 ms after the last tick: 9 + 1 wraps to 0
    for (const auto& step : steps) {
        fakeNow += step.advance;
        playTick(&button);
        EXPECT_EQ(callbacks, step.callbacks) << "after " << step.advance << " ms";
        EXPECT_EQ(slider.value(), step.value);
    }
}

TEST_F(PlayTickTest, DestroyingTheButtonStopsTheTicks) {
    SpeedSlider slider(&view, 0, 0, 0, 0, 0);
    auto* button = new PlayButton(&slider, 0, 0, 0, 0);
    void* const registered = button;  // the data the tick was registered with
    EXPECT_TRUE(Fl::has_idle(playTick, registered));
    delete button;
    EXPECT_FALSE(Fl::has_idle(playTick, registered));
}

TEST(PromptText, CopyKeepsShortTextsAndCutsLongOnesAtACharacterBoundary) {
    char buffer[kPromptBufferSize + 8];
    const std::string longName(100, 'a'), accented = std::string(62, 'b') + "\xC3\xA9" + "tail";
    const std::pair<std::string, std::string> cases[] = {{"tracks/loop one.trk", "tracks/loop one.trk"},
                                                         {longName, longName.substr(0, kPromptBufferSize - 1)},
                                                         {accented, std::string(62, 'b')}};  // é does not fit whole
    for (const auto& [text, kept] : cases) {
        std::fill(buffer, buffer + sizeof buffer, '#');
        copyPromptText(buffer, text.c_str());
        EXPECT_EQ(std::string(buffer), kept);
        EXPECT_EQ(buffer[kPromptBufferSize], '#');  // nothing written past the 64 bytes
    }
}

}  // namespace
