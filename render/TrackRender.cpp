// The scene routine (markers, trees, light marker, train and track, in that order) and its track
// section: the closed track sampled along its global parameter, drawn as a centre line or as
// two rails on cross-ties with support pillars, plain or in the bands of the riders' forces.
#include <FL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/Palette.h"
#include "render/TrackSection.h"
#include "render/TrackSectionCache.h"
#include "sim/ForceBands.h"
#include "track/RailLayout.h"
#include "track/TrackGeometry.h"
#include "track/TrackSamples.h"
#include "track/TrackView.h"

namespace {

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

void vertex(const float p[3]) { glVertex3d(p[0], p[1], p[2]); }

void lineWithUpNormal(const float a[3], const float b[3]) {
    glNormal3d(0.0, 1.0, 0.0);
    vertex(a);
    vertex(b);
}

// The colour of the track at parameter t: the band of the force there while the track is coloured
// by a force that is known there, else the plain colour. The kept report is current: the section's
// inputs asked for it.
const float* colourAt(const TrackView& view, float t, const float* plain) {
    const float* band = forceColourAt(view.keptRideReport.report, view.trackColouring, t);
    return band ? band : plain;
}

// Collects the rails style's primitives as one glBegin/glEnd each would send them.
class RailRecorder {
public:
    explicit RailRecorder(RailArrays& arrays) : a_(arrays) {
        a_.vertices.clear();
        a_.normals.clear();
        a_.primitives.clear();
    }
    void begin(GLenum mode, const float* colour) {
        a_.primitives.push_back({mode, static_cast<GLint>(a_.vertices.size() / 3), 0, colour});
    }
    void normal(double x, double y, double z) {
        normal_[0] = static_cast<GLfloat>(x);
        normal_[1] = static_cast<GLfloat>(y);
        normal_[2] = static_cast<GLfloat>(z);
    }
    void vertex(double x, double y, double z) {
        a_.vertices.insert(a_.vertices.end(), {static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z)});
        a_.normals.insert(a_.normals.end(), normal_, normal_ + 3);
        ++a_.primitives.back().count;
    }

private:
    RailArrays& a_;
    GLfloat normal_[3] = {0, 0, 1};
};

// A pillar under P: a diamond prism from the ground up to P's height.
void recordPillar(RailRecorder& out, const float p[3]) {
    out.begin(GL_QUAD_STRIP, kPillarRed);
    for (const auto& d : kPillarCorners) {
        out.normal(d[0], 0.0, d[1]);
        const double x = p[0] + d[0] * kPillarHalfWidth;
        const double z = p[2] + d[1] * kPillarHalfWidth;
        out.vertex(x, 0.0, z);
        out.vertex(x, p[1], z);
    }
}

// A tie: a box on the tie's point, its faces in the tie frame.
void recordTie(RailRecorder& out, const TieSite& tie, const float* colour) {
    out.begin(GL_QUADS, colour);
    for (const TieFace& face : kTieFaces) {
        const int* n = face.normal;
        const float *F = tie.F, *S = tie.S, *U = tie.U;
        out.normal(n[0] * S[0] + n[1] * U[0] + n[2] * F[0], n[0] * S[1] + n[1] * U[1] + n[2] * F[1],
                   n[0] * S[2] + n[1] * U[2] + n[2] * F[2]);
        for (const auto& c : face.corner) {
            double v[3];
            tieCorner(tie, c[0], c[1], c[2], v);
            out.vertex(v[0], v[1], v[2]);
        }
    }
}

// Both rails from one pair of rail points to another.
void recordRailPair(RailRecorder& out, const float rightFrom[3], const float rightTo[3], const float leftFrom[3],
                    const float leftTo[3], const float* colour) {
    out.begin(GL_LINES, colour);
    for (const float* v : {rightFrom, rightTo, leftFrom, leftTo}) {
        out.normal(0.0, 1.0, 0.0);
        out.vertex(v[0], v[1], v[2]);
    }
}

// The rails style, in the order it is drawn: at every tie a pillar (where the layout has one),
// the rail pair back to the previous tie and the tie itself, both in the tie's colour; after the
// last tie the rails close from the last tie to the first, in the first tie's colour.
void recordRails(const TrackView& view, RailArrays& arrays) {
    RailRecorder out(arrays);
    const std::vector<TieSite> ties = layRails(view);
    for (std::size_t k = 0; k < ties.size(); ++k) {
        const TieSite& tie = ties[k];
        if (tie.pillar) recordPillar(out, tie.P);
        if (k > 0) {
            const TieSite& previous = ties[k - 1];
            recordRailPair(out, tie.right, previous.right, tie.left, previous.left, colourAt(view, tie.t, kRailGrey));
        }
        recordTie(out, tie, colourAt(view, tie.t, kTieBrown));
    }
    if (!ties.empty())
        recordRailPair(out, ties.back().right, ties[0].right, ties.back().left, ties[0].left,
                       colourAt(view, ties[0].t, kRailGrey));
}

// Sends the recorded rails in immediate mode, one glBegin/glEnd per primitive in recording order.
// Its colour call goes inside the glBegin (the same colour as a call just before it), and nothing
// else changes between primitives, so Mesa gathers them into a few large draws. Other batchings
// cost more main-thread time or change pixels (README, performance).
// The shadow pass leaves out the pillars: flattened by the shadow matrix, a pillar's lower and
// upper vertices fall on the same points, so its quads have no area.
void drawRailArrays(const RailArrays& arrays, int doingShadows) {
    if (arrays.primitives.empty()) return;
    glLineWidth(kRailWidth);  // the rails are the section's only lines
    const GLfloat* vertices = arrays.vertices.data();
    const GLfloat* normals = arrays.normals.data();
    const GLfloat* current = nullptr;  // the normal GL holds; none known before the first
    for (const RailPrimitive& p : arrays.primitives) {
        if (doingShadows && p.mode == GL_QUAD_STRIP) continue;
        glBegin(p.mode);
        if (!doingShadows) glColor3fv(p.colour);
        for (int i = 3 * p.first; i < 3 * (p.first + p.count); i += 3) {
            // The normal is GL state: sent only where it changes (faces share theirs).
            if (!current || !std::equal(current, current + 3, normals + i)) glNormal3fv(current = normals + i);
            glVertex3fv(vertices + i);
        }
        glEnd();
    }
}

// The centre-line style: a line of width 3 from every sample to the next, grey or in the sample's
// colour, then a line of width 2.5 in the last sample's colour from where the samples stopped
// back to the start of segment 0.
void sendCentreLine(const TrackView& view, int doingShadows) {
    const int n = view.numPoints;
    if (!doingShadows) glColor3fv(kPillarRed);  // shows only on the closing line of a track too short to sample
    TrackSamples samples(view);
    const bool anySample = samples.more();
    const float* colour = kRailGrey;
    if (anySample) {
        if (!doingShadows) glColor3fv(colour);
        glLineWidth(kCentreLineWidth);
        glBegin(GL_LINES);  // all segments share width and normal: one batch, colours sent within
    }
    for (; samples.more(); samples.step()) {
        const float* here = doingShadows ? colour : colourAt(view, samples.t, kRailGrey);
        if (here != colour) glColor3fv(colour = here);  // a band runs over many samples
        float P[3], Q[3];
        ringPointAt(view.segments, n, samples.t, P);
        ringPointAt(view.segments, n, static_cast<double>(samples.t) + samples.dt, Q);
        lineWithUpNormal(P, Q);
    }
    if (anySample) glEnd();
    float start[3], end[3];
    view.segments[0]->evaluate(&start[0], &start[1], &start[2], 0.0f);
    ringPointAt(view.segments, n, samples.t, end);
    glLineWidth(kClosingLineWidth);
    glBegin(GL_LINES);
    lineWithUpNormal(end, start);
    glEnd();
}

// The centre line is compiled into a display list per pass and replayed until its inputs change:
// lines replay exactly, and it saves sampling and sending the track twice a frame.
void drawCentreLine(const TrackView& view, TrackSection& cache, const TrackSectionInputs& now, int doingShadows) {
    const int pass = doingShadows ? 1 : 0;
    GLuint& list = cache.list[pass];
    if (list != 0 && cache.listInputs[pass] == now) {
        glCallList(list);
        return;
    }
    if (list == 0) list = glGenLists(1);
    if (list == 0) return sendCentreLine(view, doingShadows);  // no list to be had: draw directly
    glNewList(list, GL_COMPILE_AND_EXECUTE);
    sendCentreLine(view, doingShadows);
    glEndList();
    cache.listInputs[pass] = now;
}

}  // namespace

void TrackSectionDeleter::operator()(TrackSection* section) const { delete section; }

void forgetTrackSectionLists(TrackView& view) {
    if (view.trackSectionCache) view.trackSectionCache->list[0] = view.trackSectionCache->list[1] = 0;
}

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
    if (!trackSectionCache) trackSectionCache.reset(new TrackSection);
    TrackSection& cache = *trackSectionCache;
    // The normal pass takes its colours from the kept report; the shadow pass has none.
    const TrackSectionInputs shadow = {buildCount, numPoints, tieSpacing, supportEvery, kPlainColours, 0};
    TrackSectionInputs lit = shadow;
    if (trackColouring != kPlainColours) {
        lit.colouring = trackColouring;
        lit.reportRides = currentRideReport().rides;
    }
    const TrackSectionInputs now[2] = {lit, shadow};  // by pass, as the lists are kept
    // A list made from other inputs is never replayed again: give it back.
    for (int pass = 0; pass < 2; ++pass) {
        if (cache.list[pass] != 0 && !(cache.listInputs[pass] == now[pass])) {
            glDeleteLists(cache.list[pass], 1);
            cache.list[pass] = 0;
        }
    }
    if (drawRails != 1) return drawCentreLine(*this, cache, now[doingShadows ? 1 : 0], doingShadows);
    // Both passes draw from the same arrays, whose colours the shadow pass does not send.
    if (!cache.rails.made || !(cache.rails.inputs == lit)) {
        recordRails(*this, cache.rails);
        cache.rails.made = true;
        cache.rails.inputs = lit;
    }
    drawRailArrays(cache.rails, doingShadows);
}
