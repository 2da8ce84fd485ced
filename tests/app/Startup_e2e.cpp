// The real program at start-up: what the size dialog offers from res.cfg, which typed sizes it
// accepts, what it writes back, the window it opens, a missing file named on the command line
// reported, a track that cannot be kept reported once, and exit status 1 however the program ends;
// --help, --version and a refused command line answered before any window.
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "tests/support/Desktop.h"

namespace {

struct Start {
    const char* config;                 // res.cfg before the start; nullptr: no file
    const char *width, *height;         // typed over the offer; "" keeps it
    const char* answer;                 // a key, or "click": Cancel lies under the pointer
    const char* window;                 // the main window's size; "" when none may open
    const char* saved;                  // res.cfg afterwards
    const char* file = "";              // the command-line argument, a missing file when given
    const char* key = "";               // held with Escape, so the track it changes is unsaved at close
};

TEST(Startup, TheSizeDialogOffersWhatResCfgHoldsAndOpensOnlyWhatItAccepts) {
    const Start starts[] = {
        {nullptr, "", "", "Return", "800x600", "800\n600", "missing.trk"},
        {"1280\n1024", "", "", "Return", "1280x1024", "1280\n1024", "", "n"},  // the line break ends 4 digits
        {"640x480", "", "", "Return", "640x480", "640\n480"},         // any non-digit ends a number
        {nullptr, "1600", "1200", "Return", "1600x1200", "1600\n1200"},
        {nullptr, "+320", "240", "Return", "320x240", "+320\n240"},    // kept as typed; strtol takes the sign
        {nullptr, "1601", "1200", "Return", "800x600", "800\n600"},
        {nullptr, "319", "240", "Return", "800x600", "800\n600"},
        {"1024\n768", "", "", "click", "", "1024\n768"},
        {nullptr, "", "", "Escape", "", ""},  // the dialog closed
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(std::string(s.config ? s.config : "no res.cfg") + ", typed " + s.width + " x " + s.height);
        const std::string dir = makeScratchDir();
        if (s.config) writeFile(dir + "/res.cfg", s.config);
        writeFile(dir + "/file", "");
        KalvoraProcess program(dir, {"XDG_STATE_HOME=" + dir + "/file"}, s.file);  // no track can be kept
        const std::string dialog = waitForWindow("Kalvora");
        ASSERT_NE(dialog, "") << "running: " << program.running() << ", errors: " << program.errors();
        focusWindow(dialog);
        if (*s.width) shell("xdotool key ctrl+a"), typeText(s.width), pressKey("Tab"), typeText(s.height);
        if (std::string(s.answer) == "click") shell("xdotool click 1");
        else pressKey(s.answer);
        const std::string main = *s.window ? waitForWindow("Kalvora - Build 53") : "";
        EXPECT_EQ(main.empty() ? "" : shell("xdotool getwindowgeometry " + main + " | sed -n 's/ *Geometry: //p'"), s.window);
        if (!main.empty()) focusWindow(main), pressKey(s.key + std::string(" Escape"));  // closes the main window
        EXPECT_EQ(program.waitForExit(5000), 1);
        EXPECT_EQ(readFile(dir + "/res.cfg"), s.saved);
        if (*s.file) { EXPECT_EQ(program.console().rfind("Error loading file \"missing.trk\": ", 0), 0u); }
        const size_t kept = program.console().find("Error keeping unsaved track in \"" + dir + "/file/kalvora/unsaved-");
        EXPECT_EQ(kept == 0 && program.console().find('\n') == program.console().size() - 1, *s.key != 0);
    }
}

// Without a display any window would end the program with status 1.
TEST(Startup, HelpVersionAndARefusedCommandLineAnswerWithoutAWindowOrResCfg) {
    const std::string dir = makeScratchDir(), tryHelp = "Try 'kalvora --help'.\n";
    const struct { const char* arguments; int status; std::string console, errors; } runs[] = {
        {"--help", 0, usageText(dir + "/state/kalvora"), ""},
        {"--version", 0, "kalvora " KALVORA_VERSION "\n", ""},
        {"a.trk --frobnicate", 2, "", "kalvora: unknown option '--frobnicate'\n" + tryHelp},
        {"a.trk b.trk", 2, "", "kalvora: one FILE at most, but 'b.trk' follows 'a.trk'\n" + tryHelp},
    };
    for (const auto& run : runs) {
        EXPECT_EQ(runWithoutDisplay(dir, run.arguments), run.status) << run.arguments;
        EXPECT_EQ(readFile(dir + "/console.txt"), run.console) << run.arguments;
        EXPECT_EQ(readFile(dir + "/errors.txt"), run.errors) << run.arguments;
    }
    EXPECT_EQ(shell("ls " + dir), "console.txt\nerrors.txt");  // no res.cfg, nothing kept
}

}  // namespace
