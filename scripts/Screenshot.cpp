// The README's pictures, taken from the real program through the end-to-end driver (run by
// scripts/screenshot.sh on a private Xvfb): tracks/loop.trk in rails mode with the view tilted, its
// model exported for another program to draw, its ride report, the track coloured by vertical g, and
// the help window beside the main one.
#include <cstdio>
#include <string>

#include "tests/support/Desktop.h"

namespace {

// Runs a shell command that ends by printing "ok"; says what failed otherwise.
bool done(const std::string& command, const char* what) {
    if (shell(command + " && echo ok") == "ok") return true;
    std::fprintf(stderr, "screenshot: %s failed\n", what);
    return false;
}

std::string grab(const std::string& window, const std::string& file) {
    return window.empty() ? "import -window root -crop 800x600+0+0 +repage '" + file + "'"
                          : "import -window " + window + " '" + file + "'";
}

// The screen from the main window's top left corner to the help window's bottom right one.
std::string grabBoth(const std::string& main, const std::string& help, const std::string& file) {
    const std::string corner = "eval $(xdotool getwindowgeometry --shell " + main + ") && x=$X y=$Y && ";
    return corner + "eval $(xdotool getwindowgeometry --shell " + help + ") && import -window root -crop " +
           "$((X + WIDTH - x))x$((Y + HEIGHT - y))+$x+$y +repage '" + file + "'";
}

}  // namespace

// Usage: screenshot FOLDER. Writes screenshot.png, ride-report.png, forces.png, help.png, loop.obj
// and loop.mtl into FOLDER.
int main(int argc, char** argv) {
    if (argc != 2) return std::fprintf(stderr, "usage: screenshot FOLDER\n"), 2;
    const std::string docs = argv[1], dir = makeScratchDir();
    KalvoraProcess program(dir, {}, KALVORA_SOURCE_DIR "/tracks/loop.trk");
    const std::string main = openMainWindow(program);
    if (main.empty()) return std::fprintf(stderr, "screenshot: no main window\n"), 1;
    drag(3, 0, 126, 18);               // tilt the free view: straight down from the middle
    pressKey("bracketright", 150, 7);  // pillars under every 8th tie or so
    pressKey("a", 150, 4);             // a little closer
    pause(1500);                       // let the train ride into the picture
    bool ok = done(grab("", docs + "/screenshot.png"), "the track's picture");
    ok = fileCommand("x", "loop.obj") &&  // the model, for another program to draw
         done("cp '" + dir + "/loop.obj' '" + dir + "/loop.mtl' '" + docs + "'", "the export") && ok;
    pressKey("g");  // the track's ride report
    const std::string report = waitForWindow("Kalvora - Ride report");
    pause(1000);
    ok = !report.empty() && done(grab(report, docs + "/ride-report.png"), "the ride report's picture") && ok;
    pressKey("z", 150, 2);  // back, to have the top of the loop in the picture
    pressKey("v");          // the track coloured by vertical g
    pause(1000);
    ok = done(grab("", docs + "/forces.png"), "the coloured track's picture") && ok;
    pressKey("g");  // the report closes, and the help window opens in its place
    pressKey("h");
    const std::string help = waitForWindow("Kalvora - Help");
    pause(1000);
    return !help.empty() && done(grabBoth(main, help, docs + "/help.png"), "the help window's picture") && ok ? 0 : 1;
}
