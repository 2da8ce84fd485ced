// The ride report's window: four plots of one lap against distance along the track (height,
// speed, vertical g, lateral g) with the summary under them, following the track while open.
#pragma once

#include <FL/Fl_Double_Window.H>

#include <tuple>

#include "sim/RideReport.h"

class TrackView;

constexpr const char* kRideReportTitle = "Kalvora - Ride report";

class RideReportWindow : public Fl_Double_Window {
public:
    explicit RideReportWindow(TrackView* view);
    ~RideReportWindow() override;
    void draw() override;

    void open();   // brings the report up to date, prints its summary, shows it beside the view
    void close();  // hides it; the close button does the same
    bool refresh();  // computes the report again if what it depends on changed; true if it did

    // What a report depends on: the builds of either ring, the point count (the clear key empties
    // the rings without a build), physicsOn, totalEnergy, gravity, trainMass, and trainSpeed
    // while physics is off (with physics on the step overwrites it every frame).
    using Inputs = std::tuple<unsigned, int, int, float, float, float, float>;

    TrackView* view;    // the view whose track is reported; not owned
    RideReport report;  // of the track as it was at the last refresh
    Inputs inputs;      // what report was computed from
    float markerU = -1.0f;  // trainU the plots were last drawn with, -1 while the train stands
};
