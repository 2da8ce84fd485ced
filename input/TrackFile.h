// Track files: the binary layout (little-endian 4-byte values: the points, the guide points, the
// trees, the light and the stored settings), the checks a file passes before it replaces
// anything, save and load.
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

// Everything a track file holds, in file order, after decoding and checking.
struct TrackFileData {
    int numPoints;  // 0..kMaxPoints, the count of both rings
    float points[kMaxPoints][3];
    float points2[kMaxPoints][3];
    int numTrees;               // 0..kMaxTrees
    float trees[kMaxTrees][5];  // x, y, z, radius, height
    TrackState settings;        // lightPos and the stored settings; every other field at its start
};

// Size in bytes of the file of a track of numPoints point pairs and numTrees trees.
std::size_t trackFileSize(int numPoints, int numTrees);

// The file's bytes for the view's rings, trees and stored settings.
std::vector<unsigned char> encodeTrack(const TrackView& view);

// Decodes size bytes. Refuses (false, with a one-line reason) a point count outside 0..100, a
// tree count outside 0..50, a file that ends before the counts' values and a value that is not a
// finite number, except the infinities a save can write (kStoredSettings' mayBeInfinite); bytes
// past those values are ignored. Repairs each stored setting the keys could never produce as its
// entry in kStoredSettings says.
bool decodeTrack(const unsigned char* bytes, std::size_t size, TrackFileData* data, std::string* reason);

// Decodes the bytes and, only when they pass, replaces the view's track, trees and stored
// settings with them, rebuilds both curves and keeps the stored energy. Selections past the new
// lists are cleared; three points or more start the train at trainU, none stops it (one or two
// leave a running train on their unbuilt segments). On false (with the reason) the view is
// exactly as it was.
bool loadTrackBytes(TrackView& view, const unsigned char* bytes, std::size_t size, std::string* reason);
// Replaces the view's track, trees and stored settings with data's as loadTrackBytes does, the
// energy the stored one when storedEnergy, else the one the build gives. False (with the reason)
// only when memory runs out, and then the view is exactly as it was.
bool installTrack(TrackView& view, const TrackFileData& data, bool storedEnergy, std::string* reason);
