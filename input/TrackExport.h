// Exports of the track for the tools designers use next: its centre line with its orientation as
// NoLimits 2 track data (a tab-separated CSV), and the rail style as a Wavefront OBJ model with
// its materials.
#pragma once

#include <string>

#include "track/TrackView.h"

// Rows of the track data are this far apart along the track, in world units (metres).
constexpr double kTrackDataStep = 0.5;
// A track longer than this many steps is refused rather than written (a point dragged very far
// out makes a file of gigabytes).
constexpr long kMaxTrackDataRows = 1000000;
// A model of more ties than this is refused for the same reason.
constexpr long kMaxModelTies = 100000;
// Why an export of a track whose curve or frames are not finite numbers somewhere (points
// astronomically far out) is refused: no reader of either format takes such a number.
extern const char* const kShapeNotFinite;

// The track data of track 1 (3 points or more): a header line, then N + 1 rows at N =
// ceil(length / 0.5) equal steps of arc length from global parameter 0 in the direction of travel,
// the last repeating the first. Each row: its number from 1, the position, and the unit front
// (tangent), left and up axes (up: the up hint made perpendicular to the front, as the ties and
// the ride views take it; left = up x front), each value with %.6f. Where the frame is undefined
// (stacked points, a guide point on the track) a row takes the frame of the row before it, or of
// the first defined row after it. False, with the reason, for a track too long to write or whose
// shape is not finite.
bool trackDataCsv(const TrackView& view, std::string* text, std::string* reason);

// The rail style as it is drawn now (its tie spacing and support interval), as closed solids with
// faces wound counter-clockwise seen from outside: each tie a box, each pillar a diamond prism
// from the ground to the track, each rail a square tube of side 0.04 through its ties, round the
// ring back to the first. Objects and groups `ties`, `pillars` and `rails`, flat shaded (`s off`),
// materials from mtlName. *ties: the number of ties (with none, the model has no parts). False,
// with the reason, for more than kMaxModelTies ties or a shape that is not finite.
bool railModelObj(const TrackView& view, const std::string& mtlName, std::string* text, int* ties, std::string* reason);
// The materials the model names, in the colours they are drawn with.
std::string railModelMtl();
