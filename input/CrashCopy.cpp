// The kept track at a crash: the image held in a buffer made beforehand, and the handler that
// writes it. Nothing here may allocate or use stdio once a crash has begun: the heap may be what
// broke. That is also why this file does not write through saveFile.
#include "input/CrashCopy.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "input/KeptTrack.h"
#include "input/TrackFile.h"

namespace {

std::atomic<const CrashCopy*> armed{nullptr};  // the copy the crash handler writes; null none
std::atomic<bool> crashing{false};             // a crash handler has begun: a second one only dies

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
// The handler's own stack, so that a stack overflow can still be handled; makeFolders' path is
// the largest thing on it.
alignas(16) char crashStack[64 * 1024];

bool writeAll(int fd, const void* bytes, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t wrote = write(fd, static_cast<const char*>(bytes) + done, size - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// mkdir -p without allocation.
bool makeFolders(const std::string& folder) {
    char part[PATH_MAX];
    if (folder.size() >= sizeof part) return false;
    for (std::size_t k = 1; k <= folder.size(); ++k) {
        if (k < folder.size() && folder[k] != '/') continue;
        std::memcpy(part, folder.data(), k);
        part[k] = '\0';
        if (mkdir(part, kKeptFolderMode) != 0 && errno != EEXIST) return false;
    }
    return true;
}

void syncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

void onCrash(int signal) {
    const CrashCopy* copy = armed.load();
    if (copy && !crashing.exchange(true)) copy->writeNow();
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);  // delivered when the handler returns; a fault's instruction also faults again
}

}  // namespace

CrashCopy::CrashCopy(const std::string& folder, const std::string& path)
    : folder_(folder),
      path_(path),
      temporary_(path + ".part"),
      line_("unsaved track kept in " + path + "\n"),
      images_(new unsigned char[2 * kMaxTrackFileBytes]) {}

CrashCopy::~CrashCopy() {
    const CrashCopy* self = this;
    armed.compare_exchange_strong(self, nullptr);
}

void CrashCopy::hold(const std::vector<unsigned char>& image) {
    const int next = 1 - current_.load();
    sizes_[next] = std::min(image.size(), kMaxTrackFileBytes);
    std::memcpy(images_.get() + next * kMaxTrackFileBytes, image.data(), sizes_[next]);
    current_.store(next);
    action_.store(kWrite);
}

void CrashCopy::clear(bool removeKept) { action_.store(removeKept ? kRemove : kNothing); }

bool CrashCopy::writeNow() const {
    const int action = action_.load();
    if (action == kRemove) unlink(path_.c_str());
    if (action != kWrite || !makeFolders(folder_)) return false;
    const int image = current_.load();
    const int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = writeAll(fd, images_.get() + image * kMaxTrackFileBytes, sizes_[image]) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok && rename(temporary_.c_str(), path_.c_str()) == 0;
    if (!ok) {
        unlink(temporary_.c_str());
        return false;
    }
    syncFolder(folder_);
    writeAll(STDOUT_FILENO, line_.data(), line_.size());
    return true;
}

void keepOnCrash(const CrashCopy* copy) {
    armed.store(copy);
    stack_t stack = {};
    stack.ss_sp = crashStack;
    stack.ss_size = sizeof crashStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action = {};
    action.sa_handler = onCrash;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kCrashSignals) sigaction(signal, &action, nullptr);
}
