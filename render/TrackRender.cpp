// The scene routine (markers, trees, light marker, train and track, in that order) and its track
// section: the closed track sampled along its global parameter, drawn as a centre line or as
// two rails on cross-ties with support pillars.
#include <FL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/Palette.h"
#include "track/TrackGeometry.h"
#include "track/TrackView.h"

namespace {

// The track is sampled once per unit of its length value. A length value this large would make
// the loop (twice per frame) too long, and beyond about 1.6e7 the float t + dt would stop
// advancing altogether: the sample count is capped here, the ties keeping their spacing in
// length units.
constexpr float kMaxTrackSamples = 1.0e6f;

constexpr float kTieBrown[3] = {129 / 255.0f, 114 / 255.0f, 61 / 255.0f};
constexpr double kTieHalfLength = 0.4;   // along the side axis
constexpr double kTieHalfHeight = 0.07;  // along the up axis
constexpr double kTieHalfDepth = 0.1;    // along the track
constexpr float kRailOffset = 0.24f;     // rails' distance from the centre line, sideways
constexpr float kRailHeight = 0.08f;     // rails' height over the centre line, 0.01 over the tie
constexpr double kPillarHalfWidth = 0.1;
constexpr float kCentreLineWidth = 3.0f;
constexpr float kClosingLineWidth = 2.5f;
constexpr float kRailWidth = 3.0f;

// A tie's faces, each with its outward axis and its corners as signs (s, u, f) of
// P + s 0.4 S + u 0.07 U + f 0.1 F.
struct TieFace {
    int normal[3];  // (s, u, f)
    int corner[4][3];
};
constexpr TieFace kTieFaces[] = {
    {{0, 0, -1}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},  // back
    {{0, 1, 0}, {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}}},       // top
    {{0, 0, 1}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},       // front
    {{0, -1, 0}, {{1, -1, 1}, {1, -1, -1}, {-1, -1, -1}, {-1, -1, 1}}},  // bottom
    {{-1, 0, 0}, {{-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}, {-1, -1, 1}}},  // left
    {{1, 0, 0}, {{1, -1, 1}, {1, 1, 1}, {1, 1, -1}, {1, -1, -1}}},       // right
};

// The diamond around a pillar's axis, in the order its strip goes round.
constexpr double kPillarCorners[5][2] = {{-1, 0}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}};

// The point of a ring of n segments at global parameter t (1.0 addresses the end of the last one).
void pointAt(CurveSegment* const* ring, int n, double t, float out[3]) {
    int i;
    float u;
    locateOnTrack(t, n, &i, &u);
    ring[i]->evaluate(&out[0], &out[1], &out[2], u);
}

void tangentAt(CurveSegment* const* ring, int n, double t, float out[3]) {
    int i;
    float u;
    locateOnTrack(t, n, &i, &u);
    ring[i]->derivative(&out[0], &out[1], &out[2], u);
}

void vertex(const float p[3]) { glVertex3d(p[0], p[1], p[2]); }

// The colour calls of a pillar, rail pair or tie are made inside its glBegin, before its first
// vertex (null in the shadow pass, which makes none): the same colour as a call just before it,
// but a compiled list then holds the section's primitives back to back and replays them as one
// batch instead of one piece per primitive.
void drawPillar(const float p[3], const float* colour) {
    glBegin(GL_QUAD_STRIP);
    if (colour) glColor3fv(colour);
    for (const auto& d : kPillarCorners) {
        glNormal3d(d[0], 0.0, d[1]);
        const double x = p[0] + d[0] * kPillarHalfWidth;
        const double z = p[2] + d[1] * kPillarHalfWidth;
        glVertex3d(x, 0.0, z);
        glVertex3d(x, p[1], z);
    }
    glEnd();
}

void drawTie(const float p[3], const float F[3], const float S[3], const float U[3], const float* colour) {
    glBegin(GL_QUADS);
    if (colour) glColor3fv(colour);
    for (const TieFace& face : kTieFaces) {
        const int* n = face.normal;
        glNormal3d(n[0] * S[0] + n[1] * U[0] + n[2] * F[0], n[0] * S[1] + n[1] * U[1] + n[2] * F[1],
                   n[0] * S[2] + n[1] * U[2] + n[2] * F[2]);
        for (const auto& c : face.corner) {
            const double s = c[0] * kTieHalfLength, u = c[1] * kTieHalfHeight, f = c[2] * kTieHalfDepth;
            glVertex3d(p[0] + s * S[0] + u * U[0] + f * F[0], p[1] + s * S[1] + u * U[1] + f * F[1],
                       p[2] + s * S[2] + u * U[2] + f * F[2]);
        }
    }
    glEnd();
}

void lineWithUpNormal(const float a[3], const float b[3]) {
    glNormal3d(0.0, 1.0, 0.0);
    vertex(a);
    vertex(b);
}

// Both rails from one pair of points to another.
void drawRailPair(const float rightFrom[3], const float rightTo[3], const float leftFrom[3], const float leftTo[3],
               const float* colour) {
    glBegin(GL_LINES);
    if (colour) glColor3fv(colour);
    lineWithUpNormal(rightFrom, rightTo);
    lineWithUpNormal(leftFrom, leftTo);
    glEnd();
}

}  // namespace

void TrackView::drawTrack(int doingShadows) {
    // The shadow pass draws everything in the black set here and makes no other colour call.
    if (doingShadows) glColor3f(0.0f, 0.0f, 0.0f);
    if (showPoints == 1) drawControlPointMarkers(doingShadows);
    drawTrees(doingShadows);
    if (!doingShadows && showPoints == 1) drawLightMarker();
    // In ride view 1 the eye sits on the train.
    if (trainRunning == 1 && cameraMode != 1) drawTrain(doingShadows);
    if (numPoints > 2) drawTrackSection(doingShadows);
}

void TrackView::drawTrackSection(int doingShadows) {
    // The rails style is sent afresh every pass. Compiled into a display list, Mesa redraws its
    // quads as triangles of its own choosing, which shifts a few pixels of the ties; the centre
    // line, lines only, replays exactly, and replaying it saves sending every sample twice a
    // frame.
    if (drawRails == 1) {
        emitTrackSection(doingShadows);
        return;
    }
    // A new GL context (the view shown for the first time or again) has none of the old lists.
    if (!context_valid()) trackSectionCache = TrackSectionCache();
    const int pass = doingShadows ? 1 : 0;
    const TrackSectionInputs now = {buildCount, numPoints};
    GLuint& list = trackSectionCache.list[pass];
    if (list != 0 && trackSectionCache.compiled[pass] && trackSectionCache.inputs[pass] == now) {
        glCallList(list);
        return;
    }
    if (list == 0) list = glGenLists(1);
    if (list == 0) {  // no list to be had: draw directly
        emitTrackSection(doingShadows);
        return;
    }
    // The list holds exactly the calls a direct draw makes.
    glNewList(list, GL_COMPILE_AND_EXECUTE);
    emitTrackSection(doingShadows);
    glEndList();
    trackSectionCache.compiled[pass] = true;
    trackSectionCache.inputs[pass] = now;
}

void TrackView::emitTrackSection(int doingShadows) {
    const int n = numPoints;
    const bool colours = !doingShadows;
    const bool rails = drawRails == 1;
    if (colours) glColor3fv(kPillarRed);  // shows only on the closing line of a track too short to sample

    // Sampling step: one sample per unit of the length value, none for a length of 0 (all points
    // on one spot), whose step would be infinite.
    const bool sampled = trackLength > 0.0f && std::isfinite(trackLength);
    const float dt = sampled ? 1.0f / std::min(trackLength, kMaxTrackSamples) : 1.0f;
    const float tieIncrement = sampled ? trackLength * dt : 0.0f;  // 1 up to rounding, more when capped
    // A pillar under every supportEvery-th tie; values below 1 (from a track file) mean every tie.
    const int pillarEvery = std::max(supportEvery, 1);

    float tieCounter = 0.0f;
    int tieOrdinal = 0;
    bool haveFirstTie = false;
    bool railWidthSet = false;
    float firstRight[3] = {}, firstLeft[3] = {}, lastRight[3] = {}, lastLeft[3] = {};

    float t = 0.0f;
    float P[3];  // the sample's point; the centre line carries it over from the previous sample
    pointAt(segments, n, t, P);
    const bool anySample = t < 1.0f - dt;
    if (!rails && anySample) {
        // All centre-line segments share width, colour and normal: one batch.
        if (colours) glColor3fv(kRailGrey);
        glLineWidth(kCentreLineWidth);
        glBegin(GL_LINES);
    }
    // dt >= 1 / kMaxTrackSamples already ends the loop after about that many samples (float
    // rounding of t moves it by a few percent); the count is a second stop that cannot fail.
    const long sampleLimit = 2 * static_cast<long>(kMaxTrackSamples);
    for (long samples = 0; t < 1.0f - dt && samples < sampleLimit; ++samples) {
        const float tNext = t + dt;
        tieCounter += tieIncrement;
        const bool tie = tieCounter > tieSpacing;
        if (tie) {
            ++tieOrdinal;
            tieCounter = 0.0f;
        }

        if (!rails) {
            float Q[3];
            pointAt(segments, n, tNext, Q);
            lineWithUpNormal(P, Q);
            std::copy(Q, Q + 3, P);  // the next sample starts where this line ends
            t = tNext;
            continue;
        }

        if (tie) {
            pointAt(segments, n, t, P);
            float guide[3];
            pointAt(segments2, n, t, guide);
            // Pillars stand only where the track's up side faces up, not under inverted parts.
            if (tieOrdinal % pillarEvery == 0 && P[1] < guide[1]) drawPillar(P, colours ? kPillarRed : nullptr);

            float tangent[3], upHint[3], F[3], S[3], U[3];
            tangentAt(segments, n, t, tangent);
            for (int k = 0; k < 3; ++k) upHint[k] = guide[k] - P[k];
            // Undefined where the guide ring meets the track or the track stands still (points
            // stacked on one spot): makeFrame then lays the tie level.
            makeFrame(tangent, upHint, F, S, U);

            float right[3], left[3];
            for (int k = 0; k < 3; ++k) {
                right[k] = P[k] + kRailOffset * S[k] + kRailHeight * U[k];
                left[k] = P[k] - kRailOffset * S[k] + kRailHeight * U[k];
            }
            if (haveFirstTie) {
                // The rails are polylines through the ties. Nothing else in the section changes
                // the line width, so it is set once, before the first rail.
                if (!railWidthSet) glLineWidth(kRailWidth);
                railWidthSet = true;
                drawRailPair(right, lastRight, left, lastLeft, colours ? kRailGrey : nullptr);
            } else {
                std::copy(right, right + 3, firstRight);
                std::copy(left, left + 3, firstLeft);
                haveFirstTie = true;
            }
            std::copy(right, right + 3, lastRight);
            std::copy(left, left + 3, lastLeft);

            drawTie(P, F, S, U, colours ? kTieBrown : nullptr);
        }
        t = tNext;
    }

    if (!rails) {
        if (anySample) glEnd();
        // Close the ring from where the samples stopped back to the start of segment 0.
        float start[3], end[3];
        segments[0]->evaluate(&start[0], &start[1], &start[2], 0.0f);
        pointAt(segments, n, t, end);
        glLineWidth(kClosingLineWidth);
        glBegin(GL_LINES);
        lineWithUpNormal(end, start);
        glEnd();
    } else if (haveFirstTie) {
        if (!railWidthSet) glLineWidth(kRailWidth);
        drawRailPair(lastRight, firstRight, lastLeft, firstLeft, colours ? kRailGrey : nullptr);
    }
}
