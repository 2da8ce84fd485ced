// The ride report's window: four plots of one lap against distance along the track (height,
// speed, vertical g, lateral g) with the summary under them, following the track while open.
#pragma once

#include <FL/Fl_Double_Window.H>

class TrackView;

constexpr const char* kRideReportTitle = "Kalvora - Ride report";

class RideReportWindow : public Fl_Double_Window {
public:
    explicit RideReportWindow(TrackView* view);
    ~RideReportWindow() override;
    void draw() override;

    void open();   // brings the report up to date, prints its summary, shows it beside the view
    void close();  // hides it; the close button does the same
    // Brings the view's kept report up to date; true if it differs from the one last drawn.
    bool refresh();

    TrackView* view;          // the view whose track is reported; not owned
    unsigned drawnRides = 0;  // the kept report's ride count when it was last drawn; 0 before
    float markerU = -1.0f;  // trainU the plots were last drawn with, -1 while the train stands
};
