// Test support for everything that needs an X display: a private Xvfb server per test process,
// the real program started in a scratch folder, and real key and mouse input through xdotool.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts `Xvfb` on a free display number (1600 x 1200 x 24, no TCP) and points DISPLAY at it
// for this process and its children. Stops it on destruction.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// A new empty folder under the system's temporary folder.
std::string makeScratchDir();
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// Runs a shell command and returns what it printed on stdout, without the final line break.
std::string shell(const std::string& command);

// The real kalvora program, started in workDir with its console written to workDir/console.txt
// and its error stream to workDir/errors.txt; environment holds extra NAME=value settings.
class KalvoraProcess {
public:
    explicit KalvoraProcess(const std::string& workDir, const std::vector<std::string>& environment = {});
    ~KalvoraProcess();  // kills the program if it still runs

    bool running();
    // Waits up to timeoutMs for the program to end; returns its exit status, or -1 if it is
    // still running or died from a signal.
    int waitForExit(int timeoutMs);
    std::string console() const;
    std::string errors() const;
    long residentKiB() const;  // the program's resident memory now, 0 if it has ended
    pid_t pid() const { return pid_; }
    // Waits up to timeoutMs until the console holds text; true if it does.
    bool waitForConsole(const std::string& text, int timeoutMs) const;

private:
    std::string workDir_;
    pid_t pid_ = -1;
    int status_ = -1;
};

struct WindowGeometry {
    int x = 0, y = 0, w = 0, h = 0;
};

// The id of a visible window whose title is exactly title, waiting up to timeoutMs; "" if none.
std::string waitForWindow(const std::string& title, int timeoutMs = 10000);
// True once the window no longer exists (waiting up to timeoutMs).
bool windowGone(const std::string& id, int timeoutMs = 5000);
WindowGeometry windowGeometry(const std::string& id);
// Gives the window the X input focus, as a window manager would for a user.
void focusWindow(const std::string& id);

// Holds a key down long enough for the program to poll it, then releases it. key: an xdotool
// key name ("m", "space", "F5", "Return").
void pressKey(const std::string& key, int holdMs = 150);
void typeText(const std::string& text);
void moveMouse(int x, int y);  // root-window pixels
void mouseDown(int button);
void mouseUp(int button);
void moveMouseBy(int dx, int dy);
void pause(int ms);

// Where the pointer rests while keys are pressed: inside the 800 x 600 view.
constexpr int kRestX = 400, kRestY = 300;

// Accepts the size dialog's 800 x 600, waits for the main window, rests the pointer in the view
// and gives the window the focus. Returns the main window's id ("" if it never came).
std::string openMainWindow(KalvoraProcess& program);
// Presses a file key (F1 or F2), types the name into the prompt that opens and confirms it.
// False if no prompt came or it did not close.
bool fileCommand(const std::string& key, const std::string& name);
// Presses F5 and returns the train position of the report it prints ("" if none came).
std::string reportedPosition(const KalvoraProcess& program);
