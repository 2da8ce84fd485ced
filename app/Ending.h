// How Kalvora ends other than by its windows being closed: a signal asking it to end, watched by
// the event loop, and the connection to the display lost.
#pragma once

class TrackView;

constexpr int kExitStatus = 1;  // Kalvora ends with status 1 however it ends

// From now on SIGTERM, SIGHUP and SIGINT (each unless it was ignored when Kalvora started) end it
// as closing the main window does: the handler only records the signal, and the event loop then
// closes every window; the dialogs' own loops return as if cancelled. A second such signal
// before the process has ended ends it at once.
void endOnSignals();
// Whether such a signal has closed the windows.
bool endRequested();

// From now on a lost connection to the X server keeps the view's unsaved track as the close does
// and ends the process, making no further call to the server.
void keepOnLostDisplay(TrackView* view);
