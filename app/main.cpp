// Kalvora's entry point: answer --help and --version, ask for the window size, open the main
// window with the view, open the track file named on the command line if there is one, name a
// track an earlier run kept, run, and keep the track if it is unsaved, also when a signal ends the
// run, the display is lost or the program crashes.
#include <FL/Fl.H>
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Ending.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/PlayTick.h"
#include "app/WindowIdentity.h"
#include "app/WindowSize.h"
#include "track/TrackView.h"

int main(int argc, char** argv) {
    // Mesa's software renderer allocates and frees tens of megabytes around every draw; with
    // glibc's default trimming the heap is given back and faulted in again each frame, which
    // costs more main-thread time than the drawing. Keep the freed heap and grow it in large steps.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);
    // The console carries the figures the user asks for; show them at once, also when piped.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const CommandLine command = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (command.action != CommandLine::Run) return answerCommandLine(command);

    useKalvoraWindowIdentity();
    endOnSignals();
    int srnwidth = kFallbackWidth;
    int srnheight = kFallbackHeight;
    int quitPrgm = 0;
    askWindowSize(&srnwidth, &srnheight, &quitPrgm);
    if (quitPrgm == 1) return kExitStatus;

    MainWindow* window = new MainWindow(0, 0, srnwidth, srnheight, kMainWindowTitle);
    window->begin();
    TrackView* view = new TrackView(0, 0, srnwidth, srnheight);
    view->speedSlider = new SpeedSlider(view, 0, 0, 0, 0, 0);
    new PlayButton(view->speedSlider, 0, 0, 0, 0);  // owned by the window; registers the tick
    window->end();
    window->show();
    keepOnLostDisplay(view);
    keepOnCrash(&view->keptTrack.crashCopy());
    view->helpWindow = new HelpWindow(view);  // hidden; an error line opens it
    if (!command.file.empty()) view->loadTrackFile(command.file.c_str());  // as F1 would, or imports it
    view->keptTrack.offerEarlierRun();

    Fl::run();

    view->keptTrack.keepAtClose(*view);
    delete view;
    delete window;
    return kExitStatus;
}
