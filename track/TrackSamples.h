// The samples the track is drawn from: t = 0, dt, 2 dt, ... along the global parameter, one per
// unit of the length value, and which of them carry a cross-tie.
#pragma once

#include <algorithm>
#include <cmath>

#include "track/TrackView.h"

// A length value this large would make each remaking of what is drawn from the samples (every
// build, so every drag step) too long, and beyond about 1.6e7 the float t + dt would stop
// advancing altogether: the sample count is capped here, the ties keeping their spacing in
// length units.
constexpr float kMaxTrackSamples = 1.0e6f;

// t runs while t < 1 - dt (both float, the bound formed in double).
class TrackSamples {
public:
    explicit TrackSamples(const TrackView& view) : trackLength_(view.trackLength), tieSpacing_(view.tieSpacing) {
        // One sample per unit of the length value; none for a length of 0 (all points on one
        // spot) or one that is not finite, whose step would not be.
        const bool sampled = trackLength_ > 0.0f && std::isfinite(trackLength_);
        dt = sampled ? 1.0f / std::min(trackLength_, kMaxTrackSamples) : 1.0f;
    }
    // dt >= 1 / kMaxTrackSamples already ends the loop after about that many samples (float
    // rounding of t moves it by a few percent); the count is a second stop that cannot fail.
    bool more() const {
        return static_cast<double>(t) < 1.0 - static_cast<double>(dt) && count_ < 2 * static_cast<long>(kMaxTrackSamples);
    }
    void step() {
        t = t + dt;
        ++count_;
    }
    // Adds trackLength x dt (1 up to rounding) to the tie counter; a sample whose counter then
    // exceeds tieSpacing carries a tie, and the counter starts again.
    bool tieHere() {
        tieCounter_ = static_cast<float>(static_cast<double>(tieCounter_) + static_cast<double>(trackLength_) * dt);
        if (!(tieCounter_ > tieSpacing_)) return false;
        ++tieOrdinal;
        tieCounter_ = 0.0f;
        return true;
    }

    float t = 0.0f;
    float dt;
    int tieOrdinal = 0;  // ties placed so far

private:
    float trackLength_;
    int tieSpacing_;
    float tieCounter_ = 0.0f;
    long count_ = 0;  // samples so far
};
