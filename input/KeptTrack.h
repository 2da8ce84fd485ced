// The kept copy of an unsaved track: whether the track is unsaved, where its copy goes, when it
// is written while the program runs and at close, and how many copies of earlier runs stay.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "input/CrashCopy.h"

class TrackView;

// A change is kept at most this long after it is made, and two writes are at least this far apart.
constexpr long kKeepDelayMs = 30000;
// Kept tracks left in the folder after a run's first write, its own among them.
constexpr int kKeptTracksLeft = 20;
constexpr unsigned kKeptFolderMode = 0700;  // the folders made for kept tracks are the user's alone

// The folder of kept tracks under the XDG rules: stateHome/kalvora when stateHome (the value of
// XDG_STATE_HOME, null when unset) is an absolute path, else home/.local/state/kalvora, with the
// passwd entry's home folder when home (the value of HOME) is null, empty or not absolute either.
std::string keptTrackFolder(const char* stateHome, const char* home);
// "unsaved-YYYYMMDD-HHMMSS-PID.trk": the run's start in local time and its process id.
std::string keptTrackName(std::time_t start, long pid);
// Whether name is of that pattern.
bool isKeptTrackName(const std::string& name);

class KeptTrack {
public:
    // The path from the environment, the start of the run and its process id.
    KeptTrack();

    // A change an undo step records, or an undo or redo: the track is unsaved, and the view as it
    // now stands is what a crash keeps (nothing if it is empty).
    void changed(const TrackView& view);
    // A successful save or load: the track is what a file holds.
    void matchesFile();
    bool unsaved() const { return unsaved_; }
    const std::string& path() const { return path_; }
    const CrashCopy& crashCopy() const { return crash_; }

    // The tick, nowMs from the tick's clock: writes the track once a change not yet written has
    // waited kKeepDelayMs, if it is still unsaved and not empty.
    void keepWhenDue(const TrackView& view, long nowMs);
    // At close: an unsaved track that is not empty is written and its path printed; a saved one
    // takes this run's copy away; an unsaved empty one (cleared by accident, say) leaves it. A
    // crash after it writes nothing more.
    void keepAtClose(const TrackView& view);

    // The newest kept track of another run (by modification time), absolute; "" if there is none.
    std::string newestOfEarlierRuns() const;
    // At start: names the newest kept track of another run, if there is one, and the key to open it.
    void offerEarlierRun() const;

private:
    bool write(const TrackView& view, bool reportEveryFailure);

    // Set at construction; absolute, so the path printed at close names the file wherever it is read.
    std::string folder_;
    std::string name_;
    std::string path_;  // folder_/name_
    bool unsaved_ = false;       // changed since the last save or load, or since the start
    bool pending_ = false;       // a change is not written yet
    std::optional<long> dueMs_;  // tick clock time at which the pending change is written; none yet
    bool wrote_ = false;         // this run has written its copy (and thinned the folder)
    bool failureShown_ = false;  // a failed write has been reported in this run
    CrashCopy crash_;            // what a crash keeps: the same rules, applied at the last change
};
