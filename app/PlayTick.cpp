// The animation tick: one redraw request of the view every 17 ms or so, and the kept copy of its
// unsaved track written when due.
#include "app/PlayTick.h"

#include <FL/Fl.H>

#include <algorithm>
#include <chrono>
#include <thread>

#include "track/TrackView.h"

long steadyClockMs() {
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TickClock tickClock = steadyClockMs;

SpeedSlider::SpeedSlider(TrackView* view, int maximum, int x, int y, int w, int h) : Fl_Value_Slider(x, y, w, h) {
    value(0.0);
    range(0.0, maximum);
    step(1);
    type(FL_HOR_NICE_SLIDER);
    when(FL_WHEN_CHANGED);
    callback(sliderChanged, view);
    // Without an area the slider is never seen, but a focused slider would take the arrow keys
    // that the view polls.
    clear_visible_focus();
}

SpeedSlider::~SpeedSlider() {}

void sliderChanged(Fl_Widget*, void* data) { static_cast<TrackView*>(data)->damage(1); }

PlayButton::PlayButton(SpeedSlider* slider_, int x, int y, int w, int h) : Fl_Light_Button(x, y, w, h, "Play") {
    Fl::add_idle(playTick, this);
    slider = slider_;
    lastTick = 0;
    // A focused light button would take the space bar, which starts and stops the train.
    clear_visible_focus();
}

PlayButton::~PlayButton() { Fl::remove_idle(playTick, this); }

void playTick(void* data) {
    PlayButton* button = static_cast<PlayButton*>(data);
    const long waited = tickClock() - button->lastTick;
    if (waited <= kTickIntervalMs) {
        // Called again at once whenever the loop is idle: give the processor back until the tick is
        // due, but no longer than kIdleRestMs, which is then the most an event waits. The tick's
        // clock counts the steady clock's whole milliseconds, so the moment it turns to the due
        // value is known exactly; with another clock the rest is still kIdleRestMs at most.
        using namespace std::chrono;
        const steady_clock::time_point due{milliseconds(button->lastTick + kTickIntervalMs + 1)};
        std::this_thread::sleep_until(std::min(due, steady_clock::now() + milliseconds(kIdleRestMs)));
        return;
    }
    button->lastTick = tickClock();
    SpeedSlider* slider = button->slider;
    int v = static_cast<int>(slider->value());
    const int m = static_cast<int>(slider->maximum());
    v = v + 1;
    if (v >= m) v = 0;
    slider->value(v);
    slider->do_callback(slider, slider->user_data());
    // The slider's user data is the view; its unsaved track is kept from here, at most once per
    // kKeepDelayMs and without a thread of its own.
    TrackView* view = static_cast<TrackView*>(slider->user_data());
    if (view) view->keptTrack.keepWhenDue(*view, button->lastTick);
}
