// A force band's colour (three floats 0..1, as the track is drawn in it) as the FLTK colour the
// ride report and the help window draw it in.
#pragma once

#include <FL/Enumerations.H>

inline Fl_Color fltkColour(const float c[3]) {
    const auto byte = [](float f) { return static_cast<uchar>(255 * f + 0.5f); };
    return fl_rgb_color(byte(c[0]), byte(c[1]), byte(c[2]));
}
