// Placeholder event handler until the key commands land.
#include "track/TrackView.h"

int TrackView::handle(int event) { return Fl_Gl_Window::handle(event); }
