// NoLimits 2 track data read back (the .csv the export writes and the professional tools
// exchange) and made a Kalvora track: the rows and their checks, the rings fitted to them and the
// track that replaces the view's.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "track/RingFit.h"
#include "track/TrackView.h"

// Front, Left and Up count as an orthonormal frame when each length and each product is within
// this of 1 and 0.
constexpr double kFrameTolerance = 1e-3;

struct TrackDataRow {
    Vec3 position;     // file metres, y up
    Vec3 up;           // the row's Up axis as read
    bool orthonormal;  // its Front, Left and Up are (kFrameTolerance)
};

// Why a file is refused: its line (from 1) and what was found there against what was expected.
struct ImportRefusal {
    long line = 0;
    std::string reason;
};

// Reads the header of the 13 column names (each with or without double quotes) and the rows of 13
// numbers, all tab-separated; lines may end in CRLF, the last may lack its end, and empty lines
// may follow the rows. Refuses a header that differs, a row of another field count, a field that
// is not a number or not a finite single-precision one, fewer than 4 rows and more than
// kMaxTrackDataRows (one more when it repeats the first: the export's closing row).
bool readTrackData(std::FILE* in, std::vector<TrackDataRow>* rows, ImportRefusal* refusal);

// The track fitted to at least 4 rows of track data.
struct ImportedTrack {
    std::vector<std::array<float, 3>> points, guide;  // the two rings in world coordinates, 3..100 each
    double within = 0.0;      // largest distance from a row to the track, in the file's metres
    bool endsJoined = false;  // the rows did not come round to the first: an open track, closed here
    bool scaled = false;      // it did not fit the ground: centred over the origin and scaled by scale
    double scale = 1.0;
};

// Drops a last row that repeats the first (within 1 mm); joins the ends of an open track (first
// and last rows further apart than 3 times the median row distance). Track 1 is the B-spline
// ring of the fewest points (3 to 100) that brings every row within max(0.1 % of the lap length,
// 0.02 m) of it and keeps its up side within 5 degrees of each orthonormal row's Up; else 100.
// The guide ring is fitted at the same parameters to the points 4 m up each row's Up (rows
// without an orthonormal frame take their neighbours'). A track outside the ground (x or z beyond
// +-15) is centred over the origin and scaled down uniformly, heights too, until it fits.
ImportedTrack fitTrackData(const std::vector<TrackDataRow>& rows);

// The console line of a successful import, without its line end.
std::string importSummary(const std::string& name, const ImportedTrack& track);

// Reads, fits and installs the named file: trees removed, the light and the settings kept except
// the basis (B-spline), both curves built with the energy their build gives, the train started as
// a load of 3 points starts it. *line: the summary, or the refusal "Error importing file ...";
// false (the view exactly as it was) on a refusal.
bool importTrackFile(TrackView& view, const char* name, std::string* line);
