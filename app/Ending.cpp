// The end signals' handler and its pipe to the event loop, and the X I/O error handler.
#include "app/Ending.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "app/Messages.h"
#include "track/TrackView.h"

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

int wakePipe[2] = {-1, -1};                // the handler writes a byte to [1]; the loop watches [0]
volatile sig_atomic_t endSignalled = 0;    // an end signal has come
bool windowsClosed = false;                // the event loop has closed the windows for it
TrackView* viewToKeep = nullptr;           // kept when the display is lost; null before there is one

void onEndSignal(int) {
    if (endSignalled) _exit(kExitStatus);
    endSignalled = 1;
    const int error = errno;  // the interrupted code may be about to read it
    const char byte = 0;
    if (write(wakePipe[1], &byte, 1) < 0) {}
    errno = error;
}

// Runs inside Fl::wait, in the main loop or a dialog's.
void onWake(int fd, void*) {
    char bytes[16];
    while (read(fd, bytes, sizeof bytes) > 0) {}
    windowsClosed = true;
    while (Fl_Window* window = Fl::first_window()) window->hide();
}

int onLostDisplay(Display*) {
    Fl::warning("X I/O error");
    setMessageListener(nullptr);  // an error line would open the help window: an X call
    if (viewToKeep) viewToKeep->keptTrack.keepAtClose(*viewToKeep);
    _exit(kExitStatus);  // exit would run the toolkit's and the GL driver's teardown, which calls the server
}

}  // namespace

void endOnSignals() {
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    Fl::add_fd(wakePipe[0], FL_READ, onWake);
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndSignals) {
        struct sigaction before;
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
}

bool endRequested() { return windowsClosed; }

void keepOnLostDisplay(TrackView* view) {
    viewToKeep = view;
    XSetIOErrorHandler(onLostDisplay);
}
