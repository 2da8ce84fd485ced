// The kept copy of an unsaved track: the folder and name rules, making the folder, thinning it
// to the newest copies, and the writes of the tick and of the close.
#include "input/KeptTrack.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "app/Messages.h"
#include "input/FileSave.h"
#include "input/TrackFile.h"

namespace {

// The run's start names its copy: the program's start, not the answer to the size dialog.
const std::time_t kRunStart = std::time(nullptr);

std::string homeFolder(const char* home) {
    if (home && home[0] == '/') return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// Makes every missing folder of the path, as mkdir -p does; false with the reason if one cannot
// be made (a file in its place shows up as the next one failing).
bool makeFolders(const std::string& folder, std::string* reason) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (mkdir(part.c_str(), kKeptFolderMode) != 0 && errno != EEXIST) {
            *reason = "cannot make the folder \"" + part + "\": " + std::strerror(errno);
            return false;
        }
        if (end == std::string::npos) return true;
    }
}

// The kept tracks in the folder but own, newest first by modification time: regular files of
// the pattern only.
std::vector<std::string> otherKeptTracks(const std::string& folder, const std::string& own) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return {};
    std::vector<std::pair<std::int64_t, std::string>> others;  // modification time in ns, name
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat info;
        if (name == own || !isKeptTrackName(name) || lstat((folder + "/" + name).c_str(), &info) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        others.emplace_back(info.st_mtim.tv_sec * std::int64_t{1000000000} + info.st_mtim.tv_nsec, name);
    }
    closedir(dir);
    std::sort(others.begin(), others.end(), std::greater<>());
    std::vector<std::string> names;
    for (const auto& other : others) names.push_back(other.second);
    return names;
}

// Leaves at most kKeptTracksLeft kept tracks in the folder, own among them: the others go oldest
// first. Only regular files of the pattern are ever touched.
void thinFolder(const std::string& folder, const std::string& own) {
    const std::vector<std::string> others = otherKeptTracks(folder, own);
    for (std::size_t k = kKeptTracksLeft - 1; k < others.size(); ++k) unlink((folder + "/" + others[k]).c_str());
}

bool isEmpty(const TrackView& view) { return view.numPoints == 0 && view.numTrees == 0; }

}  // namespace

std::string keptTrackFolder(const char* stateHome, const char* home) {
    if (stateHome && stateHome[0] == '/') return std::string(stateHome) + "/kalvora";
    return homeFolder(home) + "/.local/state/kalvora";
}

std::string keptTrackName(std::time_t start, long pid) {
    std::tm local{};
    localtime_r(&start, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return "unsaved-" + std::string(stamp) + "-" + std::to_string(pid) + ".trk";
}

bool isKeptTrackName(const std::string& name) {
    static const std::string kStart = "unsaved-########-######-", kEnd = ".trk";  // '#': a digit
    if (name.size() <= kStart.size() + kEnd.size() || name.compare(name.size() - kEnd.size(), kEnd.size(), kEnd) != 0)
        return false;
    for (std::size_t k = 0; k < name.size() - kEnd.size(); ++k) {  // the process id: digits to the end
        const char want = k < kStart.size() ? kStart[k] : '#';
        if (want == '#' ? !std::isdigit(static_cast<unsigned char>(name[k])) : name[k] != want) return false;
    }
    return true;
}

KeptTrack::KeptTrack()
    : folder_(keptTrackFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"))),
      name_(keptTrackName(kRunStart, static_cast<long>(getpid()))),
      path_(folder_ + "/" + name_),
      crash_(folder_, path_) {}

void KeptTrack::changed(const TrackView& view) {
    unsaved_ = pending_ = true;
    if (isEmpty(view)) crash_.clear(false);
    else crash_.hold(encodeTrack(view));
}

void KeptTrack::matchesFile() {
    unsaved_ = pending_ = false;
    dueMs_.reset();
    crash_.clear(wrote_);
}

void KeptTrack::keepWhenDue(const TrackView& view, long nowMs) {
    if (!pending_) return;
    if (!dueMs_) dueMs_ = nowMs + kKeepDelayMs;  // the first tick after the change
    if (nowMs < *dueMs_) return;
    dueMs_.reset();
    pending_ = !isEmpty(view) && !write(view, false);  // a failed write is tried again a delay later
}

void KeptTrack::keepAtClose(const TrackView& view) {
    if (unsaved_) {
        if (!isEmpty(view) && write(view, true)) printMessage("unsaved track kept in %s\n", path_.c_str());
    } else if (wrote_) {
        std::remove(path_.c_str());  // the track is safe in the user's own file
    }
    crash_.clear(false);
}

bool KeptTrack::write(const TrackView& view, bool reportEveryFailure) {
    std::string reason;
    const bool ok = makeFolders(folder_, &reason) && saveFile(path_.c_str(), encodeTrack(view), &reason);
    if (!ok && (reportEveryFailure || !failureShown_)) {
        printMessage("Error keeping unsaved track in \"%s\": %s\n", path_.c_str(), reason.c_str());
        failureShown_ = true;
    }
    if (ok && !wrote_) thinFolder(folder_, name_);
    wrote_ = wrote_ || ok;
    return ok;
}

std::string KeptTrack::newestOfEarlierRuns() const {
    const std::vector<std::string> others = otherKeptTracks(folder_, name_);
    return others.empty() ? "" : folder_ + "/" + others.front();
}

void KeptTrack::offerEarlierRun() const {
    const std::string path = newestOfEarlierRuns();
    if (!path.empty()) printMessage("unsaved track of an earlier run kept in %s (K opens it)\n", path.c_str());
}
