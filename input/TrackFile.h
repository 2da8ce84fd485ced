// Track files: the binary layout (little-endian 4-byte values: the points, the guide points, the
// trees and the settings), the checks a file passes before it replaces anything, save and load.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "track/TrackView.h"

// A file holds 68 bytes of counts and settings, 24 per point pair and 20 per tree.
constexpr std::size_t kTrackFileFixedBytes = 68;
constexpr std::size_t kTrackFileBytesPerPoint = 24;
constexpr std::size_t kTrackFileBytesPerTree = 20;
constexpr std::size_t kMaxTrackFileBytes =
    kTrackFileFixedBytes + kTrackFileBytesPerPoint * kMaxPoints + kTrackFileBytesPerTree * kMaxTrees;

// Largest magnitude of a coordinate, radius or height a file may hold: far beyond any track
// built by hand, and small enough that the curve construction's squares and sums stay finite.
constexpr float kMaxTrackFileCoordinate = 1.0e6f;

// The prompt the two file commands show: label, field geometry and window width.
constexpr const char* kLoadPromptLabel = "Load track file:";
constexpr const char* kSavePromptLabel = "Save track file:";
constexpr int kFilePromptX = 109, kFilePromptY = 10, kFilePromptW = 200, kFilePromptH = 25;
constexpr int kFilePromptWindowWidth = 330;

// Everything a track file holds, in file order, after decoding and checking.
struct TrackFileData {
    int numPoints;  // 0..kMaxPoints, the count of both rings
    float points[kMaxPoints][3];
    float points2[kMaxPoints][3];
    int numTrees;                 // 0..kMaxTrees
    float trees[kMaxTrees][5];    // x, y, z, radius, height
    float lightPos[3];
    int useBSpline;
    float trainSpeed;
    int drawRails;
    int showPoints;
    int lightingOn;
    int tieSpacing;
    int supportEvery;
    int physicsOn;
    float totalEnergy;
    int reservedSetting;
    float focusViewOffset;
    float gravity;
};

// Size in bytes of the file of a track of numPoints point pairs and numTrees trees.
std::size_t trackFileSize(int numPoints, int numTrees);

// The file's bytes for the view's rings, trees and stored settings.
std::vector<unsigned char> encodeTrack(const TrackView& view);

// Decodes size bytes. Refuses (false, with a one-line reason) a point count outside 0..100, a
// tree count outside 0..50, a size that does not match the counts, a value that is not a finite
// number and a coordinate, radius or height beyond kMaxTrackFileCoordinate. Repairs settings
// the keys could never produce: a flag other than 1 becomes 0 (every reader takes such a value
// as off), tie spacing and support interval go to the nearest of 1..50, a negative speed to 0,
// gravity to the nearest of -100.5..-4.5 and the look-down distance to the nearest of 1.9..50.1.
bool decodeTrack(const unsigned char* bytes, std::size_t size, TrackFileData* data, std::string* reason);

// Decodes the bytes and, only when they pass, replaces the view's track, trees and stored
// settings with them, rebuilds both curves and keeps the stored energy. Selections past the new
// lists are cleared; three points or more start the train at trainU, fewer stop it. On false
// (with the reason) the view is exactly as it was.
bool loadTrackBytes(TrackView& view, const unsigned char* bytes, std::size_t size, std::string* reason);

// Writes bytes to a new file beside path and renames it over path once every byte is written,
// flushed and closed, so a failed save leaves any old file as it was. False with the reason.
bool writeFileReplacing(const char* path, const std::vector<unsigned char>& bytes, std::string* reason);
