// The animation tick's 16 ms rule and the slider stepping, with a fake clock, and the tick's
// lifetime.
#include <gtest/gtest.h>

#include <FL/Fl.H>

#include "app/PlayTick.h"

static long fakeNow = 1000;
static int callbacks = 0;

// The tick fires only after more than 16 ms, steps the slider's value and wraps it below the
// maximum, and fires the slider's callback each time. The button's tick ends with the button.
TEST(PlayTick, TicksOnlyAfterMoreThan16MsWrapsBelowTheMaximumAndEndsWithTheButton) {
    tickClock = [] { return fakeNow; };
    SpeedSlider slider(nullptr, 10, 0, 0, 0, 0);  // its own callback, which would redraw a view, is replaced
    slider.callback([](Fl_Widget*, void*) { ++callbacks; });
    auto* button = new PlayButton(&slider, 0, 0, 0, 0);
    slider.value(8);
    const struct { long advance; int callbacks; double value; } steps[] = {
        {0, 1, 9}, {16, 1, 9}, {1, 2, 0}, {17, 3, 1}};  // 17 ms after the last tick: 9 + 1 wraps to 0
    for (const auto& step : steps) {
        fakeNow += step.advance;
        playTick(button);
        EXPECT_TRUE(callbacks == step.callbacks && slider.value() == step.value) << "after " << step.advance << " ms";
    }
    tickClock = steadyClockMs;
    void* const registered = button;  // the data the tick was registered with
    EXPECT_TRUE(Fl::has_idle(playTick, registered));
    delete button;
    EXPECT_FALSE(Fl::has_idle(playTick, registered));
}
