// The rail style's layout: where the cross-ties stand along track 1, their frames, which of them
// carry a support pillar and where the two rails run. The renderer draws it and the model export
// writes it, so both show the same track.
#pragma once

#include <vector>

#include "track/TrackView.h"

// A tie is a box on the track's point P: half 0.4 along the side axis, 0.07 along up and 0.1
// along the track. The rails lie 0.24 to each side, 0.08 above P (0.01 over the tie).
constexpr double kTieHalfLength = 0.4;
constexpr double kTieHalfHeight = 0.07;
constexpr double kTieHalfDepth = 0.1;
constexpr double kRailOffset = 0.24;
constexpr double kRailHeight = 0.08;
constexpr double kPillarHalfWidth = 0.1;  // half the diagonal of a pillar's diamond section

struct TieSite {
    float t;                  // global parameter of the tie's sample
    float P[3];               // the point of track 1 there
    float F[3], S[3], U[3];   // forward, side (right of travel) and up axes
    float right[3], left[3];  // rail points: P + 0.24 S + 0.08 U and P - 0.24 S + 0.08 U
    bool pillar;              // a pillar stands under it, from the ground up to P
};

// The ties of the current track, tie spacing and support interval, in the order of the samples
// (none with fewer than 3 points). Every supportEvery-th tie carries a pillar where the guide
// ring lies above the track (no pillars under inverted parts).
std::vector<TieSite> layRails(const TrackView& view);

// The world point of a tie's corner (s, u, f), each -1 or 1: P + s 0.4 S + u 0.07 U + f 0.1 F.
void tieCorner(const TieSite& tie, int s, int u, int f, double out[3]);
