// The centre-line track compiled into one GL display list per pass, so that a frame replays it
// instead of sampling the curve and sending every sample again, twice per frame.
#pragma once

#include <FL/gl.h>

// What a compiled list was made from; a list is replayed only while both are unchanged.
struct TrackSectionInputs {
    unsigned buildCount;  // TrackView::buildCount: any build changes the segments or lengths
    int numPoints;
    bool operator==(const TrackSectionInputs& other) const {
        return buildCount == other.buildCount && numPoints == other.numPoints;
    }
};

struct TrackSectionCache {
    // Index 0 the normal pass, 1 the shadow pass (no colour calls). A list id of 0 means none
    // was made in the current GL context.
    GLuint list[2] = {0, 0};
    bool compiled[2] = {false, false};
    TrackSectionInputs inputs[2] = {};
};
