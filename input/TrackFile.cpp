// Track files: encoding and checking the bytes, and replacing the track with a loaded one.
#include "input/TrackFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "input/StoredSettings.h"

std::size_t trackFileSize(int numPoints, int numTrees) {
    return kTrackFileFixedBytes + kTrackFileBytesPerPoint * static_cast<std::size_t>(numPoints) +
           kTrackFileBytesPerTree * static_cast<std::size_t>(numTrees);
}

namespace {

// ---- Encoding ----

void putWord(std::vector<unsigned char>* out, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<unsigned char>(word >> shift));
}

void putInt(std::vector<unsigned char>* out, int value) { putWord(out, static_cast<std::uint32_t>(value)); }

void putFloat(std::vector<unsigned char>* out, float value) {
    std::uint32_t word;
    std::memcpy(&word, &value, sizeof word);
    putWord(out, word);
}

void putPosition(std::vector<unsigned char>* out, const ControlPoint* point) {
    float x, y, z;
    point->getPosition(&x, &y, &z);
    putFloat(out, x);
    putFloat(out, y);
    putFloat(out, z);
}

// ---- Decoding ----

// Reads 4-byte little-endian values front to back; the caller has checked the size first, and
// every float is checked where it is read.
class Reader {
public:
    explicit Reader(const unsigned char* bytes) : bytes_(bytes) {}

    std::size_t offset() const { return offset_; }
    int readInt() { return static_cast<std::int32_t>(readWord()); }
    // A float that must be finite (or, if infiniteAllowed, at least a number); false with the
    // reason otherwise.
    bool readFloat(float* value, std::string* reason, bool infiniteAllowed = false) {
        const std::size_t at = offset_;
        const std::uint32_t word = readWord();
        std::memcpy(value, &word, sizeof word);
        if (std::isfinite(*value) || (infiniteAllowed && std::isinf(*value))) return true;
        *reason = "holds a value that is not a finite number at byte " + std::to_string(at);
        return false;
    }
    bool readFloats(float* values, int count, std::string* reason) {
        for (int k = 0; k < count; ++k) {
            if (!readFloat(&values[k], reason)) return false;
        }
        return true;
    }

private:
    std::uint32_t readWord() {
        std::uint32_t word = 0;
        for (int k = 0; k < 4; ++k) word |= static_cast<std::uint32_t>(bytes_[offset_ + k]) << (8 * k);
        offset_ += 4;
        return word;
    }

    const unsigned char* bytes_;
    std::size_t offset_ = 0;
};

// Keeps a loaded setting inside what the keys can produce, so that nothing later divides by
// zero (a support interval of 0), walks backwards off the sample table (a negative speed) or puts
// the eye on the point it looks at (a look-down distance of 0).
void repair(const StoredSetting& setting, TrackState* state) {
    if (setting.intField) {
        int& value = state->*setting.intField;
        if (setting.repair == Repair::KeyRange) {
            value = std::clamp(value, static_cast<int>(setting.low), static_cast<int>(setting.high));
        }
        return;
    }
    float& value = state->*setting.floatField;
    if (setting.repair == Repair::NotBelow0) value = std::max(value, 0.0f);
    if (setting.repair == Repair::KeyRange) {
        value = std::clamp(value, setting.low - setting.step, setting.high + setting.step);
    }
}

// Copies the stored settings first to last - 1 from one record to another.
void copySettings(const TrackState& from, TrackState* to, int first, int last) {
    for (int k = first; k < last; ++k) {
        const StoredSetting& setting = kStoredSettings[k];
        if (setting.intField) to->*setting.intField = from.*setting.intField;
        if (setting.floatField) to->*setting.floatField = from.*setting.floatField;
    }
}

// ---- Installing a decoded track ----

struct NewRecords {
    ControlPoint* points[kMaxPoints] = {};
    ControlPoint* points2[kMaxPoints] = {};
    CurveSegment* segments[kMaxPoints] = {};
    CurveSegment* segments2[kMaxPoints] = {};
    ControlPoint* trees[kMaxTrees] = {};

    void release() {
        for (int i = 0; i < kMaxPoints; ++i) {
            delete points[i];
            delete points2[i];
            delete segments[i];
            delete segments2[i];
        }
        for (ControlPoint* tree : trees) delete tree;
    }
};

// Creates every record of the decoded track; false (with nothing left allocated) when memory
// runs out, so a load either replaces the whole track or nothing.
bool createRecords(const TrackFileData& data, NewRecords* records) {
    bool complete = true;
    for (int i = 0; i < data.numPoints; ++i) {
        const float* p = data.points[i];
        const float* q = data.points2[i];
        records->points[i] = new (std::nothrow) ControlPoint(p[0], p[1], p[2], kPointRadius, kPointHeight,
                                                             kTrackPointColor[0], kTrackPointColor[1], kTrackPointColor[2]);
        records->points2[i] = new (std::nothrow) ControlPoint(q[0], q[1], q[2], kPointRadius, kPointHeight,
                                                              kGuidePointColor[0], kGuidePointColor[1], kGuidePointColor[2]);
        records->segments[i] = new (std::nothrow) CurveSegment();
        records->segments2[i] = new (std::nothrow) CurveSegment();
        complete = complete && records->points[i] && records->points2[i] && records->segments[i] && records->segments2[i];
    }
    for (int i = 0; i < data.numTrees; ++i) {
        const float* t = data.trees[i];
        records->trees[i] =
            new (std::nothrow) ControlPoint(t[0], t[1], t[2], t[3], t[4], kTreeColor[0], kTreeColor[1], kTreeColor[2]);
        complete = complete && records->trees[i];
    }
    if (!complete) records->release();
    return complete;
}

void clearSelectionPast(int* selection, int count) {
    if (*selection >= count) *selection = -1;
}

}  // namespace

std::vector<unsigned char> encodeTrack(const TrackView& view) {
    std::vector<unsigned char> out;
    out.reserve(trackFileSize(view.numPoints, view.numTrees));
    putInt(&out, view.numPoints);
    for (int i = 0; i < view.numPoints; ++i) putPosition(&out, view.points[i]);
    for (int i = 0; i < view.numPoints; ++i) putPosition(&out, view.points2[i]);
    putInt(&out, view.numTrees);
    for (int i = 0; i < view.numTrees; ++i) {
        putPosition(&out, view.trees[i]);
        putFloat(&out, view.trees[i]->getRadius());
        putFloat(&out, view.trees[i]->getHeight());
    }
    for (float coordinate : view.lightPos) putFloat(&out, coordinate);
    for (const StoredSetting& setting : kStoredSettings) {
        if (setting.intField) putInt(&out, view.*setting.intField);
        if (setting.floatField) putFloat(&out, view.*setting.floatField);
    }
    return out;
}

// Reads the two counts and checks that the file holds every value they announce.
static bool readCounts(const unsigned char* bytes, std::size_t size, int* n, int* m, std::string* reason) {
    if (size < 4) {
        *reason = size == 0 ? "is empty" : "is " + std::to_string(size) + " bytes long, too short for a point count";
        return false;
    }
    *n = Reader(bytes).readInt();
    if (*n < 0 || *n > kMaxPoints) {
        *reason = "has a point count of " + std::to_string(*n) + " (0 to " + std::to_string(kMaxPoints) + " can be loaded)";
        return false;
    }
    const std::size_t treeCountAt = 4 + kTrackFileBytesPerPoint * static_cast<std::size_t>(*n);
    if (size < treeCountAt + 4) {
        *reason = "ends after " + std::to_string(size) + " bytes, before its tree count";
        return false;
    }
    *m = Reader(bytes + treeCountAt).readInt();
    if (*m < 0 || *m > kMaxTrees) {
        *reason = "has a tree count of " + std::to_string(*m) + " (0 to " + std::to_string(kMaxTrees) + " can be loaded)";
        return false;
    }
    const std::size_t expected = trackFileSize(*n, *m);
    if (size < expected) {
        *reason = "ends after " + std::to_string(size) + " bytes, but a track of " + std::to_string(*n) +
                  " points and " + std::to_string(*m) + " trees takes " + std::to_string(expected);
        return false;
    }
    return true;
}

bool decodeTrack(const unsigned char* bytes, std::size_t size, TrackFileData* data, std::string* reason) {
    int n, m;
    if (!readCounts(bytes, size, &n, &m, reason)) return false;
    Reader in(bytes);
    in.readInt();  // the point count, read above
    data->numPoints = n;
    for (int i = 0; i < n; ++i) {
        if (!in.readFloats(data->points[i], 3, reason)) return false;
    }
    for (int i = 0; i < n; ++i) {
        if (!in.readFloats(data->points2[i], 3, reason)) return false;
    }
    data->numTrees = in.readInt();
    for (int i = 0; i < m; ++i) {
        if (!in.readFloats(data->trees[i], 5, reason)) return false;
    }
    if (!in.readFloats(data->settings.lightPos, 3, reason)) return false;
    for (const StoredSetting& setting : kStoredSettings) {
        if (setting.intField) data->settings.*setting.intField = in.readInt();
        float* value = setting.floatField ? &(data->settings.*setting.floatField) : nullptr;
        if (value && !in.readFloat(value, reason, setting.mayBeInfinite)) return false;
        repair(setting, &data->settings);
    }
    return true;
}

bool loadTrackBytes(TrackView& view, const unsigned char* bytes, std::size_t size, std::string* reason) {
    TrackFileData data;
    return decodeTrack(bytes, size, &data, reason) && installTrack(view, data, true, reason);
}

bool installTrack(TrackView& view, const TrackFileData& data, bool storedEnergy, std::string* reason) {
    NewRecords records;
    if (!createRecords(data, &records)) {
        *reason = "cannot be loaded: out of memory";
        return false;
    }
    // Nothing can fail from here on: the old track is only now replaced.
    view.deleteAllRecords();
    for (int i = 0; i < data.numPoints; ++i) {
        view.points[i] = records.points[i];
        view.points2[i] = records.points2[i];
        view.segments[i] = records.segments[i];
        view.segments2[i] = records.segments2[i];
    }
    for (int i = 0; i < data.numTrees; ++i) view.trees[i] = records.trees[i];
    view.numPoints = view.numPoints2 = data.numPoints;
    view.numTrees = data.numTrees;
    for (int k = 0; k < 3; ++k) view.lightPos[k] = data.settings.lightPos[k];
    copySettings(data.settings, &view, 0, kFirstSettingAfterBuild);
    view.buildTrack();
    view.buildTrack2();
    const float builtEnergy = view.totalEnergy;
    copySettings(data.settings, &view, kFirstSettingAfterBuild, kNumStoredSettings);
    if (!storedEnergy) view.totalEnergy = builtEnergy;

    clearSelectionPast(&view.selectedPoint, view.numPoints);
    clearSelectionPast(&view.selectedPoint2, view.numPoints);
    clearSelectionPast(&view.selectedTree, view.numTrees);
    if (view.numPoints >= kMinBuildPoints) {
        view.trainRunning = 1;
        view.placeTrain();
    } else if (view.numPoints == 0) {
        view.trainRunning = 0;  // no segment at all to ride; one or two keep a running train on theirs
    }
    return true;
}
