// The ride report's window: opening and closing it with 'G', following the track, and drawing
// the four plots and the summary with FLTK's own drawing.
#include "app/RideReportWindow.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/BandColour.h"
#include "app/Messages.h"
#include "app/SideWindow.h"
#include "sim/ForceBands.h"
#include "track/TrackView.h"

namespace {

constexpr int kWidth = 640, kHeight = 730;
constexpr int kLeft = 70, kRight = 16;          // room for the value labels left of the plots
constexpr int kTop = 22, kPlotHeight = 110;     // the first plot's top; each plot's height
constexpr int kPlotPitch = kPlotHeight + 42;    // room for the distance labels and the next title
constexpr int kLine = 16;                       // text line height
constexpr double kFollowSeconds = 0.05;         // how often an open report looks at the view
const Fl_Color kShade = fl_rgb_color(200, 225, 255);  // airtime in the vertical g plot
const Fl_Color kZeroLine = fl_rgb_color(170, 170, 170);

// One plot: what it shows and, for a force, the colouring whose band limits it marks.
struct Plot {
    const char* title;
    float RidePlace::*value;
    int bands;  // plain for height and speed; a force plot leaves out places without known forces
    bool forces() const { return bands != kPlainColours; }
};
constexpr Plot kPlots[4] = {
    {"height (world units)", &RidePlace::height, kPlainColours},
    {"speed (world units per 100 frames)", &RidePlace::speed, kPlainColours},
    {"vertical g (1 standing on a level track; shaded below 0: airtime)", &RidePlace::verticalG, kVerticalGColours},
    {"lateral g (+ towards the right of travel)", &RidePlace::lateralG, kLateralGColours},
};

// The pixel box of a plot and the value range it maps onto it.
struct PlotBox {
    int x, y, w, h;
    double lo, hi, length;
    int px(double distance) const { return x + static_cast<int>(std::lround(distance / length * (w - 1))); }
    int py(double value) const { return y + h - 1 - static_cast<int>(std::lround((value - lo) / (hi - lo) * (h - 1))); }
};

bool shown(const Plot& plot, const RidePlace& place) { return !plot.forces() || place.forcesKnown; }

// The plot's range: its values, 0 for the g plots, a margin, and never empty.
void fitRange(const Plot& plot, const RideReport& report, PlotBox* f) {
    f->lo = plot.forces() ? 0.0 : HUGE_VAL;
    f->hi = plot.forces() ? 0.0 : -HUGE_VAL;
    for (const RidePlace& p : report.places) {
        if (!shown(plot, p)) continue;
        f->lo = std::min(f->lo, static_cast<double>(p.*plot.value));
        f->hi = std::max(f->hi, static_cast<double>(p.*plot.value));
    }
    if (!(f->lo <= f->hi)) f->lo = f->hi = 0.0;  // nothing to show
    const double span = f->hi - f->lo;
    const double margin = span > 1e-6 ? 0.05 * span : 0.5;  // a flat curve runs through the middle
    f->lo -= margin;
    f->hi += margin;
    f->length = report.lapLength > 0.0 ? report.lapLength : 1.0;
}

void drawText(const char* text, int x, int y, bool alignRight = false) {
    fl_draw(text, alignRight ? x - static_cast<int>(fl_width(text)) : x, y);
}

void drawAxes(const Plot& plot, const PlotBox& f) {
    char text[64];
    fl_color(FL_BLACK);
    drawText(plot.title, f.x, f.y - 5);
    std::snprintf(text, sizeof text, "%.2f", f.hi);
    drawText(text, f.x - 4, f.y + 10, true);
    std::snprintf(text, sizeof text, "%.2f", f.lo);
    drawText(text, f.x - 4, f.y + f.h, true);
    drawText("0", f.x, f.y + f.h + 13);
    drawText("distance along the track (world units)", f.x + f.w / 2 - 110, f.y + f.h + 13);
    std::snprintf(text, sizeof text, "%.1f", f.length);
    drawText(text, f.x + f.w, f.y + f.h + 13, true);
    if (f.lo < 0.0 && f.hi > 0.0) {
        fl_color(kZeroLine);
        fl_xyline(f.x, f.py(0.0), f.x + f.w - 1);
    }
}

// The limits between the force bands the track is coloured by, dotted in the colour of the band
// beyond each (0 has its own line); lateral limits on both sides.
void drawBandLimits(const Plot& plot, const PlotBox& f) {
    const ForceBandTable table = forceBands(plot.bands);
    const auto line = [&f](double at) {
        if (at > f.lo && at < f.hi) fl_xyline(f.x, f.py(at), f.x + f.w - 1);
    };
    fl_line_style(FL_DOT);
    for (int k = 1; k < table.count; ++k) {
        const ForceBand& band = table.bands[k];
        if (band.from == 0.0f) continue;
        fl_color(fltkColour(band.colour));
        line(band.from);
        if (table.bySize) line(-band.from);
    }
    fl_line_style(0);
}

// The curve, one vertical stroke per pixel column from the column's lowest to its highest value,
// joined to the next column; a place without a value breaks it.
void drawCurve(const Plot& plot, const RideReport& report, const PlotBox& f) {
    fl_color(FL_BLUE);
    int column = -1, low = 0, high = 0, first = 0, last = 0, joinX = 0, joinY = 0;
    bool joined = false;
    auto flush = [&] {
        if (column < 0) return;
        if (joined) fl_line(joinX, joinY, column, first);
        fl_yxline(column, low, high);
        joinX = column;
        joinY = last;
        joined = true;
        column = -1;
    };
    for (const RidePlace& p : report.places) {
        if (!shown(plot, p)) {
            flush();
            joined = false;
            continue;
        }
        const int x = f.px(p.distance), y = f.py(p.*plot.value);
        if (x != column) {
            flush();
            column = x;
            low = high = first = y;
        }
        low = std::min(low, y);
        high = std::max(high, y);
        last = y;
    }
    flush();
}

// A lap has a place per frame, many to a pixel column: each shaded column is drawn once.
void drawAirtime(const RideReport& report, const PlotBox& f) {
    fl_color(kShade);
    int shaded = -1;
    for (const RidePlace& p : report.places) {
        const int x = f.px(p.distance);
        if (p.forcesKnown && p.verticalG < 0.0f && x != shaded) fl_yxline(shaded = x, f.y, f.y + f.h - 1);
    }
}

// The distance of the train on the lap: the last place at or before its parameter.
double distanceAt(const RideReport& report, float u) {
    auto after = std::upper_bound(report.places.begin(), report.places.end(), u,
                                  [](float value, const RidePlace& p) { return value < p.u; });
    return after == report.places.begin() ? 0.0 : (after - 1)->distance;
}

void followView(void* data) {
    RideReportWindow* window = static_cast<RideReportWindow*>(data);
    // The main window has closed: the report goes too, so that the program can end.
    if (!window->view->shown()) {
        window->close();
        return;
    }
    const float marker = window->view->trainRunning == 1 ? window->view->trainU : -1.0f;
    if (window->refresh() || marker != window->markerU) window->redraw();
    Fl::repeat_timeout(kFollowSeconds, followView, data);
}

}  // namespace

RideReportWindow::RideReportWindow(TrackView* view_)
    : Fl_Double_Window(kWidth, kHeight, kRideReportTitle), view(view_) {
    end();
    callback([](Fl_Widget* window, void*) { static_cast<RideReportWindow*>(window)->close(); });
}

RideReportWindow::~RideReportWindow() { Fl::remove_timeout(followView, this); }

bool RideReportWindow::refresh() { return view->currentRideReport().rides != drawnRides; }

void RideReportWindow::open() {
    printMessage("%s", rideReportSummary(view->currentRideReport().report).c_str());
    placeBeside(this, view->top_window());
    show();
    Fl::remove_timeout(followView, this);  // one follower, however often it is opened
    Fl::add_timeout(kFollowSeconds, followView, this);
}

void RideReportWindow::close() {
    Fl::remove_timeout(followView, this);
    hide();
}

void RideReportWindow::draw() {
    const KeptRideReport& kept = view->currentRideReport();
    const RideReport& report = kept.report;
    drawnRides = kept.rides;
    fl_rectf(0, 0, w(), h(), FL_WHITE);
    fl_font(FL_HELVETICA, 12);
    markerU = view->trainRunning == 1 ? view->trainU : -1.0f;
    fl_color(FL_BLACK);
    if (!report.enoughPoints) {
        drawText("The ride report needs 3 points or more.", kLeft, kTop);
        return;
    }
    for (int k = 0; k < 4; ++k) {
        PlotBox f{kLeft, kTop + k * kPlotPitch, w() - kLeft - kRight, kPlotHeight, 0.0, 0.0, 1.0};
        fitRange(kPlots[k], report, &f);
        if (kPlots[k].value == &RidePlace::verticalG) drawAirtime(report, f);
        drawAxes(kPlots[k], f);
        drawBandLimits(kPlots[k], f);
        drawCurve(kPlots[k], report, f);
        fl_color(FL_BLACK);
        fl_rect(f.x - 1, f.y - 1, f.w + 2, f.h + 2);
        if (markerU < 0.0f) continue;
        fl_color(FL_RED);
        fl_yxline(f.px(distanceAt(report, markerU)), f.y, f.y + f.h - 1);
    }
    const std::string summary = rideReportSummary(report);
    int y = kTop + 4 * kPlotPitch - 14;
    fl_color(FL_BLACK);
    for (size_t start = 0, end; (end = summary.find('\n', start)) != std::string::npos; start = end + 1, y += kLine)
        drawText(summary.substr(start, end - start).c_str(), kLeft, y);
    if (!report.lapComplete) drawText("Lap not completed (the train comes to rest, or the lap was cut off).", kLeft, y);
}

void TrackView::toggleRideReport() {
    if (!rideReportWindow) rideReportWindow = new RideReportWindow(this);
    RideReportWindow* window = static_cast<RideReportWindow*>(rideReportWindow);
    if (window->visible()) {
        window->close();
    } else {
        window->open();
    }
}
