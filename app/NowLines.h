// What the keys have set, one line each, as the help window's "Now" part shows it: worked out
// from the view alone, so it can be checked without a display.
#pragma once

#include <string>
#include <vector>

class TrackView;

// The lines, in this order: track, train, view, drawing, track colours, selection, file, undo.
std::vector<std::string> nowLines(const TrackView& view);

// The name of ride view 1..5 (what the camera does); "" for any other mode.
const char* rideViewName(int cameraMode);
