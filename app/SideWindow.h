// Where Kalvora's second windows (the ride report, the help) open: right of the main window, at
// its top, as far right as the screen lets them.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>

constexpr int kSideWindowGap = 10;  // pixels between the main window and a side window

inline void placeBeside(Fl_Window* window, const Fl_Window* main) {
    const int x = std::min(main->x() + main->w() + kSideWindowGap, Fl::w() - window->w());
    window->position(std::max(0, x), main->y());
}
