// The track section's forms kept between frames: the centre line compiled into a display list per
// pass, and the rails style's primitives in arrays, each with the inputs it was made from.
#pragma once

#include <FL/gl.h>

#include <vector>

// What a kept form was made from; it is used only while all of these are unchanged.
struct TrackSectionInputs {
    unsigned buildCount;  // TrackView::buildCount: any build changes the segments or lengths
    int numPoints;
    int tieSpacing;
    int supportEvery;
    // TrackView::trackColouring and the ride count of the kept report the colours come from;
    // plain and 0 where no colour is taken from them (plain colours, the shadow pass).
    int colouring;
    unsigned reportRides;
    bool operator==(const TrackSectionInputs& o) const {
        return buildCount == o.buildCount && numPoints == o.numPoints && tieSpacing == o.tieSpacing &&
               supportEvery == o.supportEvery && colouring == o.colouring && reportRides == o.reportRides;
    }
};

// One primitive of the rails style, sent again in the order it was recorded: the same types,
// colours, normals and vertices as sampling the track afresh would send.
struct RailPrimitive {
    GLenum mode;          // GL_QUAD_STRIP (pillar), GL_LINES (rail pair) or GL_QUADS (tie)
    GLint first;          // index of its first vertex
    GLsizei count;
    const float* colour;  // set before it in the normal pass
};

struct RailArrays {
    std::vector<GLfloat> vertices;  // x, y, z per vertex, as GL stores a glVertex3d
    std::vector<GLfloat> normals;   // the normal current at each vertex
    std::vector<RailPrimitive> primitives;
    bool made = false;              // false until recorded once
    TrackSectionInputs inputs = {};
};

struct TrackSection {
    GLuint list[2] = {0, 0};  // centre line of the normal [0] and shadow [1] pass; 0: none in this context
    TrackSectionInputs listInputs[2] = {};
    RailArrays rails;
};
