// The speed slider, the Play button and the animation tick that keeps the view redrawing.
#pragma once

#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Value_Slider.H>

class TrackView;

// Milliseconds of elapsed time from an arbitrary origin. The tick reads it through tickClock so
// that tests can replace it; the default is a steady clock.
using TickClock = long (*)();
long steadyClockMs();
extern TickClock tickClock;

// The tick fires only when more than this many milliseconds have passed since the last one.
constexpr long kTickIntervalMs = 16;
// The longest the tick rests when it is not due.
constexpr long kIdleRestMs = 1;

// A value slider whose callback asks the view to redraw. User data: the view.
class SpeedSlider : public Fl_Value_Slider {
public:
    // Value 0, range 0..maximum, step 1, horizontal nice slider, callback on every change.
    SpeedSlider(TrackView* view, int maximum, int x, int y, int w, int h);
    ~SpeedSlider() override;
};

// The slider's callback: damages the TrackView given as data.
void sliderChanged(Fl_Widget* widget, void* data);

// The "Play" button; its real job is to own the animation tick, registered as an idle
// callback for exactly the button's lifetime.
class PlayButton : public Fl_Light_Button {
public:
    PlayButton(SpeedSlider* slider, int x, int y, int w, int h);
    ~PlayButton() override;

    SpeedSlider* slider;  // stepped by the tick; not owned
    long lastTick;        // tickClock() at the last tick that ran; 0 at construction
};

// Idle callback, data = the PlayButton: at most once per kTickIntervalMs steps the slider
// (wrapping below its maximum) and fires its callback, which redraws the view; between ticks it
// sleeps until the next is due, kIdleRestMs at most.
void playTick(void* data);
