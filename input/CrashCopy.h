// The kept track at a crash: the unsaved track's file image and the paths held ready in memory,
// written by the crash signals' handler with async-signal-safe calls only.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CrashCopy {
public:
    // folder: the kept tracks' folder, made at a crash if missing; path: the kept file in it.
    CrashCopy(const std::string& folder, const std::string& path);
    ~CrashCopy();  // no longer written at a crash
    CrashCopy(const CrashCopy&) = delete;
    CrashCopy& operator=(const CrashCopy&) = delete;

    // A crash writes this image (the track after the event that changed it) to the kept file.
    void hold(const std::vector<unsigned char>& image);
    // A crash writes nothing; with removeKept it takes the kept file away (the track is saved).
    void clear(bool removeKept);

    // What a crash does, on any thread and with async-signal-safe calls only: writes the image
    // held beside the kept file, syncs it, renames it over the kept file, syncs the folder and
    // says "unsaved track kept in PATH" on standard output; or removes the kept file; or nothing.
    // True if it wrote the image.
    bool writeNow() const;

private:
    enum Action { kNothing, kWrite, kRemove };

    // Fixed at construction, so that a crash finds them made.
    const std::string folder_, path_, temporary_, line_;
    // Two images of kMaxTrackFileBytes each: hold fills the one a crash would not write, then
    // makes it current, so a crash in the middle of hold writes the image before it.
    std::unique_ptr<unsigned char[]> images_;
    std::size_t sizes_[2] = {0, 0};
    std::atomic<int> current_{0};      // the image a crash writes
    std::atomic<int> action_{kNothing};
};

// From now on SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT run copy->writeNow() (once, however
// many crash), then restore the signal's default action and raise it again, so the process
// still ends by that signal. copy (null: none) is dropped when it is destroyed.
void keepOnCrash(const CrashCopy* copy);
