// The commands that name a file through the prompt: saving (F2) and loading (F1) a track, and a
// track opened from the command line; each that succeeds leaves the track saved.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/TextPrompt.h"
#include "input/FileSave.h"
#include "input/TrackFile.h"

namespace {

// Reads the file up to the size of the largest track file; a longer one holds nothing more that
// a load would use.
bool readTrackFile(const char* path, std::vector<unsigned char>* bytes, std::string* reason) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        *reason = std::string("cannot be opened: ") + std::strerror(errno);
        return false;
    }
    bytes->resize(kMaxTrackFileBytes);
    const std::size_t got = std::fread(bytes->data(), 1, bytes->size(), file);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        *reason = std::string("cannot be read: ") + std::strerror(error);
        return false;
    }
    bytes->resize(got);
    return true;
}

}  // namespace

int TrackView::askFileName(char* name, const char* label) {
    // The prompt's input field and window, in pixels.
    constexpr int kFieldX = 109, kFieldY = 10, kFieldW = 200, kFieldH = 25, kWindowWidth = 330;
    const int answered = filePrompt(name, label, kFieldX, kFieldY, kFieldW, kFieldH, kWindowWidth);
    takeKeyboardFocus();  // the prompt had it; without it no key release would reach the view
    return answered;
}

void TrackView::saveTrack() {
    saveKeyLatch = 0;
    char name[kPromptBufferSize] = {};
    if (!askFileName(name, "Save track file:")) return;
    std::string reason;
    if (!saveFile(name, encodeTrack(*this), &reason)) {
        std::printf("Error saving to file \"%s\": %s\n", name, reason.c_str());
        return;
    }
    trackMatchesFile();
}

void TrackView::loadTrack() {
    loadKeyLatch = 0;
    char name[kPromptBufferSize] = {};
    if (askFileName(name, "Load track file:")) loadTrackFile(name);
}

void TrackView::loadTrackFile(const char* name) {
    std::vector<unsigned char> bytes;
    std::string reason;
    if (!readTrackFile(name, &bytes, &reason) || !loadTrackBytes(*this, bytes.data(), bytes.size(), &reason)) {
        std::printf("Error loading file \"%s\": %s\n", name, reason.c_str());
        return;
    }
    trackMatchesFile();
    requestRedraw();
}

void TrackView::trackMatchesFile() {
    fileMark = trackMark();
    keptTrack.matchesFile();
}
