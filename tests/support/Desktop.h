// The driver of the real program for the end-to-end tests, the endurance run and the screenshot:
// the program started in a scratch folder, its windows found and focused, keys held, the mouse
// dragged and text typed with xdotool on the X display the process was given (under ctest every
// test gets its own Xvfb through xvfb-run).
#pragma once

#include <string>
#include <vector>

std::string makeScratchDir();
std::string readFile(const std::string& path);  // "" if it cannot be read
void writeFile(const std::string& path, const std::string& bytes);
// Runs a shell command and returns what it printed on stdout, without the final line breaks.
std::string shell(const std::string& command);
void pause(int ms);

// The real kalvora program, started in workDir with its console written to workDir/console.txt
// and its error stream to workDir/errors.txt, HOME=workDir and XDG_STATE_HOME=workDir/state;
// environment holds extra NAME=value settings (over those) and file, when not empty, is passed as
// the one command-line argument.
class KalvoraProcess {
public:
    explicit KalvoraProcess(const std::string& workDir, const std::vector<std::string>& environment = {},
                            const std::string& file = "");
    ~KalvoraProcess();  // kills the program if it still runs
    bool running();
    int waitForExit(int timeoutMs);  // the exit status; -1 if still running or killed by a signal
    int endSignal() const { return status_ >= kBySignal ? status_ - kBySignal : 0; }  // 0: none (yet)
    std::string console() const { return readFile(workDir_ + "/console.txt"); }
    std::string errors() const { return readFile(workDir_ + "/errors.txt"); }
    int pid() const { return pid_; }

private:
    std::string workDir_;
    int pid_ = -1;
    static constexpr int kBySignal = 1000;
    int status_ = -1;  // the exit status once known; kBySignal + the signal for a death by signal
};

// Runs the real program in workDir without a display, with HOME and XDG_STATE_HOME as
// KalvoraProcess sets them and these arguments (shell words); returns its exit status, with its
// console and error stream in workDir/console.txt and workDir/errors.txt.
int runWithoutDisplay(const std::string& workDir, const std::string& arguments);

// An X server of its own for a test that takes it away: an Xvfb on a free display, made the
// DISPLAY of this process and of all it starts. Killed, and the earlier DISPLAY back, at the end.
struct OwnDisplay {
    OwnDisplay();
    ~OwnDisplay();
    std::string before;
    int pid = -1;
};
// The id of a visible top-level window whose title matches the regular expression title exactly,
// waiting up to timeoutMs; "" if none came.
std::string waitForWindow(const std::string& title, int timeoutMs = 20000);
bool windowGone(const std::string& id);  // true once the window no longer exists (within 5 s)
// Gives the window the X input focus, as a window manager would for a user.
void focusWindow(const std::string& id);

// Holds keys (xdotool key names; several separated by blanks are held together) long enough for
// the program's key poll to see them, then releases them; repeated `times` times.
void pressKey(const std::string& key, int holdMs = 200, int times = 1);
void typeText(const std::string& text);
void moveMouse(int x, int y);  // root-window pixels
// Holds the button and moves the pointer by (dx, dy) in equal steps of at most stepPixels, each
// its own drag event, then releases it.
void drag(int button, int dx, int dy, int stepPixels = 20);

// Where the pointer rests while keys are pressed: inside the 800 x 600 view.
constexpr int kRestX = 400, kRestY = 300;

// Accepts the size dialog's offer, waits for the main window, rests the pointer in the view and
// gives the window the focus. Returns the main window's id ("" if it never came).
std::string openMainWindow(KalvoraProcess& program);
// Presses a file key (F1, F2 or x) until the prompt opens and returns its id ("" if none came).
std::string openPrompt(const std::string& key);
// Presses a file key (F1 or F2), types the name into the prompt that opens and answers it with
// an xdotool command ("key Return": OK; "click 1": cancel, which opens under the pointer).
// False if no prompt came or it did not close.
bool fileCommand(const std::string& key, const std::string& name, const std::string& answer = "key Return");
// For the keys that answer on the console: presses key, again (up to three times) only while the
// console shows no answer, so a wrong answer is never pressed away. True if the answer holds text.
bool pressKeyUntil(const KalvoraProcess& program, const std::string& key, const std::string& text);
// Presses F5 and returns the train position of the report it prints ("" if none came).
std::string reportedPosition(const KalvoraProcess& program);
