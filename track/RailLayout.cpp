// The rail style's layout along the samples of track 1.
#include "track/RailLayout.h"

#include <algorithm>

#include "track/TrackGeometry.h"
#include "track/TrackSamples.h"

namespace {

// The rails' points at a tie: right = P + 0.24 S + 0.08 U, left = P - 0.24 S + 0.08 U.
void railPoints(TieSite& tie) {
    for (int k = 0; k < 3; ++k) {
        tie.right[k] = static_cast<float>(tie.P[k] + kRailOffset * tie.S[k] + kRailHeight * tie.U[k]);
        tie.left[k] = static_cast<float>(tie.P[k] - kRailOffset * tie.S[k] + kRailHeight * tie.U[k]);
    }
}

}  // namespace

std::vector<TieSite> layRails(const TrackView& view) {
    std::vector<TieSite> ties;
    const int n = view.numPoints;
    if (n < kMinBuildPoints) return ties;
    const int pillarEvery = std::max(view.supportEvery, 1);  // the loader keeps 1..50; the % needs it
    for (TrackSamples samples(view); samples.more(); samples.step()) {
        if (!samples.tieHere()) continue;
        TieSite tie;
        tie.t = samples.t;
        float guide[3], tangent[3], upHint[3];
        ringPointAt(view.segments, n, samples.t, tie.P);
        ringPointAt(view.segments2, n, samples.t, guide);
        tie.pillar = samples.tieOrdinal % pillarEvery == 0 && tie.P[1] < guide[1];
        ringTangentAt(view.segments, n, samples.t, tangent);
        for (int k = 0; k < 3; ++k) upHint[k] = guide[k] - tie.P[k];
        makeTieFrame(tangent, upHint, tie.F, tie.S, tie.U);  // level where the guide ring meets the track
        railPoints(tie);
        ties.push_back(tie);
    }
    return ties;
}

void tieCorner(const TieSite& tie, int s, int u, int f, double out[3]) {
    const double a = s * kTieHalfLength, b = u * kTieHalfHeight, c = f * kTieHalfDepth;
    for (int k = 0; k < 3; ++k) out[k] = tie.P[k] + a * tie.S[k] + b * tie.U[k] + c * tie.F[k];
}
