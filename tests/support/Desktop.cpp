// The real program as a child process, and user input through xdotool.
#include "tests/support/Desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

void pause(int ms) { usleep(ms * 1000); }

std::string makeScratchDir() { return shell("mktemp -d /tmp/kalvora-test-XXXXXX"); }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

KalvoraProcess::KalvoraProcess(const std::string& workDir, const std::vector<std::string>& environment,
                               const std::string& file)
    : workDir_(workDir) {
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(workDir.c_str()) != 0) _exit(126);
        const rlimit noCore = {0, 0};  // a crash the test causes leaves no core file
        setrlimit(RLIMIT_CORE, &noCore);
        for (const int end : {SIGINT, SIGHUP, SIGTERM}) signal(end, SIG_DFL);  // as a terminal starts it, also from a background job
        dup2(open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open("errors.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        setenv("HOME", workDir.c_str(), 1);  // whatever it keeps stays in the scratch folder
        setenv("XDG_STATE_HOME", (workDir + "/state").c_str(), 1);
        for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
        execl(KALVORA_PROGRAM, KALVORA_PROGRAM, file.empty() ? nullptr : file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

KalvoraProcess::~KalvoraProcess() { if (running()) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0); }

bool KalvoraProcess::running() {
    int status;
    if (status_ == -1 && pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_)
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : kBySignal + WTERMSIG(status);
    return status_ == -1 && pid_ > 0;
}

int KalvoraProcess::waitForExit(int timeoutMs) {
    for (int waited = 0; running() && waited < timeoutMs; waited += 20) pause(20);
    return running() || status_ >= kBySignal ? -1 : status_;
}

OwnDisplay::OwnDisplay() : before(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") {
    int ready[2];  // Xvfb writes its display's number there once it takes clients
    if (pipe(ready) != 0) return;
    const std::string fd = std::to_string(ready[1]);
    if ((pid = fork()) == 0)
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr), _exit(127);
    close(ready[1]);
    char number[16] = {};
    if (read(ready[0], number, sizeof number - 1) > 0) setenv("DISPLAY", (":" + std::to_string(std::atoi(number))).c_str(), 1);
    close(ready[0]);
}

OwnDisplay::~OwnDisplay() {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    setenv("DISPLAY", before.c_str(), 1);
}

int runWithoutDisplay(const std::string& workDir, const std::string& arguments) {
    return std::atoi(shell("cd '" + workDir + "' && env -u DISPLAY HOME='" + workDir + "' XDG_STATE_HOME='" + workDir +
                           "/state' timeout 10 " KALVORA_PROGRAM " " + arguments +
                           " >console.txt 2>errors.txt; echo $?").c_str());
}

std::string waitForWindow(const std::string& title, int timeoutMs) {
    static const std::string root = shell("xdotool search --maxdepth 0 --name ''");  // untitled too
    for (int waited = 0; waited <= timeoutMs; waited += 50, pause(50)) {
        const std::string id = shell("xdotool search --onlyvisible --maxdepth 1 --name '^" + title + "$' 2>/dev/null"
                                     " | grep -vx '" + root + "' | head -1");
        if (!id.empty()) return id;
    }
    return "";
}

bool windowGone(const std::string& id) {
    return shell("timeout 5 sh -c 'while xdotool getwindowname " + id +
                 "; do sleep 0.05; done' >/dev/null 2>&1 && echo gone") == "gone";
}

void focusWindow(const std::string& id) { shell("timeout 5 xdotool windowfocus --sync " + id); }

void pressKey(const std::string& key, int holdMs, int times) {
    std::string chain;
    for (int i = 0; i < times; ++i)
        chain += " keydown " + key + " sleep " + std::to_string(holdMs / 1000.0) + " keyup " + key + " sleep 0.05";
    shell("xdotool" + chain);
}

void typeText(const std::string& text) {
    if (FILE* xdotool = popen("xdotool type --delay 30 --file -", "w")) fputs(text.c_str(), xdotool), pclose(xdotool);
}

void moveMouse(int x, int y) { shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); }

void drag(int button, int dx, int dy, int stepPixels) {
    const int steps = (std::max(std::abs(dx), std::abs(dy)) + stepPixels - 1) / stepPixels;
    std::string chain = "xdotool mousedown " + std::to_string(button) + " sleep 0.1";
    for (int i = 0; i < steps; ++i)
        chain += " mousemove_relative -- " + std::to_string(dx * (i + 1) / steps - dx * i / steps) + " " +
                 std::to_string(dy * (i + 1) / steps - dy * i / steps) + " sleep 0.05";
    shell(chain + " mouseup " + std::to_string(button) + " sleep 0.05");
}

std::string openMainWindow(KalvoraProcess& program) {
    const std::string dialog = waitForWindow("Kalvora");
    if (dialog.empty() || !program.running()) return "";
    std::string main;
    for (int tries = 0; tries < 3 && main.empty(); ++tries) {  // a press before the dialog has the focus is lost
        focusWindow(dialog);
        pressKey("Return");
        main = waitForWindow("Kalvora - Build 53", 4000);
    }
    if (main.empty()) return "";
    moveMouse(kRestX, kRestY);
    focusWindow(main);
    pause(1000);  // the first frames, slow while the software renderer compiles its shaders
    return main;
}

std::string openPrompt(const std::string& key) {
    std::string prompt;  // the only untitled top-level window; pressed again, as the view's key poll misses a press a frame outlasts
    for (int tries = 0; tries < 3 && prompt.empty(); ++tries) pressKey(key), prompt = waitForWindow("", 5000);
    return prompt;
}

bool fileCommand(const std::string& key, const std::string& name, const std::string& answer) {
    const std::string prompt = openPrompt(key);
    if (prompt.empty()) return false;
    focusWindow(prompt);
    typeText(name);
    shell("xdotool " + answer);
    const bool closed = windowGone(prompt);
    moveMouse(kRestX, kRestY);  // the dialog opened with its button under the pointer
    pause(300);
    return closed;
}

bool pressKeyUntil(const KalvoraProcess& program, const std::string& key, const std::string& text) {
    const size_t from = program.console().size();
    for (int tries = 0; tries < 3 && program.console().size() == from; ++tries) {  // only while nothing answered
        pressKey(key);
        for (int waited = 0; waited < 2000 && program.console().size() == from; waited += 50) pause(50);
    }
    for (int waited = 0; waited < 2000; waited += 50, pause(50))  // the rest of a report of several lines
        if (program.console().find(text, from) != std::string::npos) return true;
    return false;
}

std::string reportedPosition(const KalvoraProcess& program) {
    const size_t from = program.console().size();
    if (!pressKeyUntil(program, "F5", "train's potential energy")) return "";
    const std::string text = program.console();
    const size_t at = text.find("train position: (", from) + 17;
    return text.substr(at, text.find(')', at) - at);
}
