// The recording layer of the frame benchmark: immediate-mode GL entry points that pass every
// call on to the real GL and, while recording, keep the vertices with their normal and colour.
#include "GlRecorder.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

RecordedPass* recording = nullptr;
GLenum mode = 0;
GLfloat normal[3] = {0, 0, 1};
GLfloat colour[4] = {1, 1, 1, 1};
RecordedPass::Vertices primitive;         // the vertices of the glBegin in progress

template <typename Function>
Function real(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        std::fprintf(stderr, "no GL entry point %s\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

void append(RecordedPass::Vertices& to, const RecordedPass::Vertices& from, int index) {
    for (int k = 0; k < 3; ++k) to.position.push_back(from.position[3 * index + k]);
    for (int k = 0; k < 3; ++k) to.normal.push_back(from.normal[3 * index + k]);
    for (int k = 0; k < 4; ++k) to.colour.push_back(from.colour[4 * index + k]);
}

// Moves the finished primitive into the pass as independent lines, quads or triangles.
void finishPrimitive() {
    const int n = primitive.count();
    RecordedPass& pass = *recording;
    switch (mode) {
        case GL_LINES:
            for (int i = 0; i + 1 < n; i += 2) append(pass.lines, primitive, i), append(pass.lines, primitive, i + 1);
            break;
        case GL_QUADS:
            for (int i = 0; i < n; ++i) append(pass.quads, primitive, i);
            break;
        case GL_QUAD_STRIP:
            for (int i = 0; i + 3 < n; i += 2) {
                for (int v : {i, i + 1, i + 3, i + 2}) append(pass.quads, primitive, v);
            }
            break;
        case GL_TRIANGLES:
            for (int i = 0; i < n; ++i) append(pass.triangles, primitive, i);
            break;
        case GL_TRIANGLE_FAN:
            for (int i = 1; i + 1 < n; ++i) {
                for (int v : {0, i, i + 1}) append(pass.triangles, primitive, v);
            }
            break;
        default:
            std::fprintf(stderr, "the recorder does not know primitive type %u\n", mode);
            std::abort();
    }
    primitive = RecordedPass::Vertices();
}

void recordVertex(GLfloat x, GLfloat y, GLfloat z) {
    const GLfloat p[3] = {x, y, z};
    primitive.position.insert(primitive.position.end(), p, p + 3);
    primitive.normal.insert(primitive.normal.end(), normal, normal + 3);
    primitive.colour.insert(primitive.colour.end(), colour, colour + 4);
}

void setNormal(GLfloat x, GLfloat y, GLfloat z) {
    normal[0] = x;
    normal[1] = y;
    normal[2] = z;
}

void setColour(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
}

}  // namespace

// The scene routine changes no matrix while it draws, so the vertices are recorded as given.
void startRecording(RecordedPass* pass) { recording = pass; }

void stopRecording() { recording = nullptr; }

void RecordedPass::draw(bool withColour) const {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    if (withColour) glEnableClientState(GL_COLOR_ARRAY);
    const std::pair<GLenum, const Vertices*> batches[] = {{GL_QUADS, &quads}, {GL_TRIANGLES, &triangles},
                                                          {GL_LINES, &lines}};
    for (const auto& [type, vertices] : batches) {
        if (vertices->count() == 0) continue;
        glVertexPointer(3, GL_FLOAT, 0, vertices->position.data());
        glNormalPointer(GL_FLOAT, 0, vertices->normal.data());
        if (withColour) glColorPointer(4, GL_FLOAT, 0, vertices->colour.data());
        if (type == GL_LINES) glLineWidth(3.0f);
        glDrawArrays(type, 0, vertices->count());
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

extern "C" {

void glBegin(GLenum m) {
    static auto next = real<void (*)(GLenum)>("glBegin");
    mode = m;
    next(m);
}

void glEnd() {
    static auto next = real<void (*)()>("glEnd");
    if (recording) finishPrimitive();
    next();
}

// The renderer sends vertices and normals both as doubles and (the kept rails) as float arrays.
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    static auto next = real<void (*)(GLdouble, GLdouble, GLdouble)>("glVertex3d");
    if (recording) recordVertex(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
    next(x, y, z);
}

void glVertex3fv(const GLfloat* v) {
    static auto next = real<void (*)(const GLfloat*)>("glVertex3fv");
    if (recording) recordVertex(v[0], v[1], v[2]);
    next(v);
}

void glNormal3d(GLdouble x, GLdouble y, GLdouble z) {
    static auto next = real<void (*)(GLdouble, GLdouble, GLdouble)>("glNormal3d");
    setNormal(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
    next(x, y, z);
}

void glNormal3fv(const GLfloat* n) {
    static auto next = real<void (*)(const GLfloat*)>("glNormal3fv");
    setNormal(n[0], n[1], n[2]);
    next(n);
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    static auto next = real<void (*)(GLfloat, GLfloat, GLfloat)>("glColor3f");
    setColour(r, g, b, 1.0f);
    next(r, g, b);
}

void glColor3fv(const GLfloat* c) {
    static auto next = real<void (*)(const GLfloat*)>("glColor3fv");
    setColour(c[0], c[1], c[2], 1.0f);
    next(c);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    static auto next = real<void (*)(GLfloat, GLfloat, GLfloat, GLfloat)>("glColor4f");
    setColour(r, g, b, a);
    next(r, g, b, a);
}

void glColor4fv(const GLfloat* c) {
    static auto next = real<void (*)(const GLfloat*)>("glColor4fv");
    setColour(c[0], c[1], c[2], c[3]);
    next(c);
}

}  // extern "C"
