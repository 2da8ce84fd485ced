// TrackView construction and destruction: the view starts from the state record's start values
// and owns the point, segment and tree records.
#include "track/TrackView.h"

TrackView::TrackView(int x, int y, int w, int h) : Fl_Gl_Window(x, y, w, h) {}

TrackView::~TrackView() {
    delete rideReportWindow;
    delete helpWindow;
    deleteAllRecords();
}

void TrackView::deleteAllRecords() {
    for (int i = 0; i < numPoints; ++i) {
        delete points[i];
        delete points2[i];
        delete segments[i];
        delete segments2[i];
        points[i] = nullptr;
        points2[i] = nullptr;
        segments[i] = nullptr;
        segments2[i] = nullptr;
    }
    for (int i = 0; i < numTrees; ++i) {
        delete trees[i];
        trees[i] = nullptr;
    }
    numPoints = 0;
    numPoints2 = 0;
    numTrees = 0;
}
