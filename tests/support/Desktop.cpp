// Private Xvfb servers, the real program as a child process, and xdotool input.
#include "tests/support/Desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifndef KALVORA_PROGRAM
#define KALVORA_PROGRAM "kalvora"
#endif

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

PrivateDisplay::PrivateDisplay() {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        dup2(devNull, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
}

PrivateDisplay::~PrivateDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::string makeScratchDir() {
    char pattern[] = "/tmp/kalvora-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) throw std::runtime_error("mkdtemp failed");
    return dir;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::string shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, got);
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

KalvoraProcess::KalvoraProcess(const std::string& workDir, const std::vector<std::string>& environment)
    : workDir_(workDir) {
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(workDir.c_str()) != 0) _exit(126);
        const int out = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        const int errors = open("errors.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(errors, 2);
        for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
        execl(KALVORA_PROGRAM, KALVORA_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
}

KalvoraProcess::~KalvoraProcess() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool KalvoraProcess::running() {
    if (status_ != -1 || pid_ <= 0) return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 1000;
        return false;
    }
    return true;
}

int KalvoraProcess::waitForExit(int timeoutMs) {
    for (int waited = 0; running() && waited < timeoutMs; waited += 20) pause(20);
    if (running() || status_ == 1000) return -1;
    return status_;
}

std::string KalvoraProcess::console() const { return readFile(workDir_ + "/console.txt"); }
std::string KalvoraProcess::errors() const { return readFile(workDir_ + "/errors.txt"); }

long KalvoraProcess::residentKiB() const {
    std::istringstream status(readFile("/proc/" + std::to_string(pid_) + "/status"));
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

bool KalvoraProcess::waitForConsole(const std::string& text, int timeoutMs) const {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (console().find(text) != std::string::npos) return true;
        pause(20);
    }
    return false;
}

static std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string waitForWindow(const std::string& title, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        const std::string id = firstLine(shell("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null"));
        if (!id.empty()) return id;
        pause(50);
    }
    return "";
}

bool windowGone(const std::string& id, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        if (shell("xdotool getwindowname " + id + " >/dev/null 2>&1 || echo gone") == "gone") return true;
        pause(50);
    }
    return false;
}

WindowGeometry windowGeometry(const std::string& id) {
    WindowGeometry g;
    std::istringstream lines(shell("xdotool getwindowgeometry --shell " + id));
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X") g.x = value;
        if (key == "Y") g.y = value;
        if (key == "WIDTH") g.w = value;
        if (key == "HEIGHT") g.h = value;
    }
    return g;
}

void focusWindow(const std::string& id) { shell("timeout 5 xdotool windowfocus --sync " + id); }

void pressKey(const std::string& key, int holdMs) {
    shell("xdotool keydown " + key);
    pause(holdMs);
    shell("xdotool keyup " + key);
    pause(50);
}

void typeText(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    shell("xdotool type --delay 30 -- " + quoted + "'");
}

void moveMouse(int x, int y) { shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); }
void mouseDown(int button) { shell("xdotool mousedown " + std::to_string(button)); }
void mouseUp(int button) { shell("xdotool mouseup " + std::to_string(button)); }
void moveMouseBy(int dx, int dy) {
    shell("xdotool mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy));
}

std::string openMainWindow(KalvoraProcess& program) {
    const std::string dialog = waitForWindow("Kalvora");
    if (dialog.empty() || !program.running()) return "";
    focusWindow(dialog);
    pressKey("Return");
    const std::string main = waitForWindow("Kalvora - Build 53");
    if (main.empty()) return "";
    moveMouse(kRestX, kRestY);
    focusWindow(main);
    pause(300);  // a few animation ticks
    return main;
}

// The file prompt: the visible window 330 x 75 pixels.
static std::string waitForPrompt() {
    for (int waited = 0; waited < 10000; waited += 100) {
        std::istringstream ids(shell("xdotool search --onlyvisible --name '' 2>/dev/null"));
        for (std::string id; std::getline(ids, id);) {
            const WindowGeometry g = windowGeometry(id);
            if (g.w == 330 && g.h == 75) return id;
        }
        pause(100);
    }
    return "";
}

bool fileCommand(const std::string& key, const std::string& name) {
    pressKey(key);
    const std::string prompt = waitForPrompt();
    if (prompt.empty()) return false;
    focusWindow(prompt);
    typeText(name);
    pressKey("Return");
    const bool closed = windowGone(prompt);
    moveMouse(kRestX, kRestY);  // the dialog opened with its button under the pointer
    pause(300);
    return closed;
}

static std::vector<std::string> positions(const KalvoraProcess& program) {
    std::vector<std::string> found;
    const std::string text = program.console();
    const std::regex line("train position: \\(([^)]*)\\)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

std::string reportedPosition(const KalvoraProcess& program) {
    const size_t before = positions(program).size();
    pressKey("F5");
    for (int waited = 0; positions(program).size() == before && waited < 5000; waited += 50) pause(50);
    const std::vector<std::string> all = positions(program);
    return all.size() > before ? all.back() : "";
}
