// The commands that name a file through the prompt: saving (F2), loading (F1; a .csv name imports
// track data instead) and exporting (X) a track, a track opened from the command line, and the
// kept track of an earlier run (K); a save or load that succeeds leaves the track saved, an import
// or an opened kept track leaves it unsaved.
#include <strings.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/Messages.h"
#include "app/TextPrompt.h"
#include "input/FileSave.h"
#include "input/TrackExport.h"
#include "input/TrackFile.h"
#include "input/TrackImport.h"

namespace {

bool endsWith(const std::string& name, const char* extension) {
    const std::size_t length = std::strlen(extension);
    return name.size() >= length && strcasecmp(name.c_str() + name.size() - length, extension) == 0;
}

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

int TrackView::askFileName(char* name, const char* label, bool wide) {
    // The prompt's input field and window, in pixels; the wide one has room for a longer label.
    constexpr int kFieldX = 109, kFieldY = 10, kFieldW = 200, kFieldH = 25, kWindowWidth = 330;
    constexpr int kWideFieldX = 126, kWideFieldW = 250, kWideWindowWidth = 400;
    const int answered = wide ? filePrompt(name, label, kWideFieldX, kFieldY, kWideFieldW, kFieldH, kWideWindowWidth)
                              : filePrompt(name, label, kFieldX, kFieldY, kFieldW, kFieldH, kWindowWidth);
    takeKeyboardFocus();  // the prompt had it; without it no key release would reach the view
    return answered;
}

void TrackView::saveTrack() {
    saveKeyLatch = 0;
    char name[kPromptBufferSize] = {};
    if (!askFileName(name, "Save track file:")) return;
    std::string reason;
    if (!saveFile(name, encodeTrack(*this), &reason)) {
        printMessage("Error saving to file \"%s\": %s\n", name, reason.c_str());
        return;
    }
    trackMatchesFile(name);
    logMessage("saved \"" + trackFileName + "\"");  // the console stays silent, as it always was
}

void TrackView::loadTrack() {
    loadKeyLatch = 0;
    char name[kPromptBufferSize] = {};
    if (askFileName(name, "Load track file:")) loadTrackFile(name);
}

bool TrackView::openTrackFile(const char* name) {
    std::vector<unsigned char> bytes;
    std::string reason;
    if (!readTrackFile(name, &bytes, &reason) || !loadTrackBytes(*this, bytes.data(), bytes.size(), &reason)) {
        printMessage("Error loading file \"%s\": %s\n", name, reason.c_str());
        return false;
    }
    requestRedraw();
    return true;
}

void TrackView::loadTrackFile(const char* name) {
    if (endsWith(name, ".csv")) {
        std::string line;
        if (importTrackFile(*this, name, &line)) {
            trackFileName.clear();  // the track is not that file's
            keptTrack.changed(*this);  // not a Kalvora file yet; from F1 the event makes it an undo step
            requestRedraw();
        }
        printMessage("%s\n", line.c_str());
        return;
    }
    if (!openTrackFile(name)) return;
    trackMatchesFile(name);
    logMessage("loaded \"" + trackFileName + "\"");
}

void TrackView::openKeptTrack() {
    keptKeyLatch = 0;
    const std::string path = keptTrack.newestOfEarlierRuns();
    if (path.empty()) {
        printMessage("no kept track to open\n");
        return;
    }
    if (!openTrackFile(path.c_str())) return;
    // Not the user's file: it stays unsaved until F2, and is kept again under this run's name.
    trackFileName.clear();
    keptTrack.changed(*this);
    printMessage("opened kept track %s\n", path.c_str());
}

void TrackView::trackMatchesFile(const std::string& name) {
    fileMark = trackMark();
    keptTrack.matchesFile();
    trackFileName = name;
}

namespace {

// Writes the export the name's extension asks for; false with the reason. *note: what the
// console line adds after the name on success. The model and its materials are saved as one, so
// a failure leaves neither.
bool writeExport(const TrackView& view, const std::string& name, std::string* note, std::string* reason) {
    std::string text;
    if (endsWith(name, ".csv")) return trackDataCsv(view, &text, reason) && saveFile(name.c_str(), text, reason);
    const std::string mtl = name.substr(0, name.size() - 4) + ".mtl", materials = railModelMtl();
    const std::size_t slash = mtl.rfind('/');
    int ties = 0;
    if (!railModelObj(view, slash == std::string::npos ? mtl : mtl.substr(slash + 1), &text, &ties, reason)) return false;
    if (ties == 0) *note = " (no ties at this spacing)";
    std::size_t failed;
    const std::vector<FileBytes> files = {{name, text.data(), text.size()}, {mtl, materials.data(), materials.size()}};
    if (saveFiles(files, reason, &failed)) return true;
    if (failed == 1) *reason = "\"" + mtl + "\": " + *reason;  // the materials file's own failure
    return false;
}

}  // namespace

void TrackView::exportTrack() {
    exportKeyLatch = 0;
    char name[kPromptBufferSize] = {};
    if (!askFileName(name, "Export track file:", true)) return;
    std::string note, reason;
    if (!endsWith(name, ".csv") && !endsWith(name, ".obj")) {
        reason = "unknown format (use .csv or .obj)";
    } else if (numPoints < kMinBuildPoints) {
        reason = "needs 3 points or more";
    } else if (writeExport(*this, name, &note, &reason)) {
        printMessage("exported \"%s\"%s\n", name, note.c_str());
        return;
    }
    printMessage("Error exporting to file \"%s\": %s\n", name, reason.c_str());
}
