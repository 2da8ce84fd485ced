// Records the geometry the renderer sends to GL in immediate mode, so the frame benchmark can
// draw the same vertices again from vertex arrays (its floor). The bench program defines the
// immediate-mode entry points itself; calls from the Kalvora library reach them first and are
// passed on to the real GL, recorded while a recording is open.
#pragma once

#include <GL/gl.h>

#include <vector>

// The vertices of one pass, by the primitive type they are drawn as: strips and fans are
// unrolled into independent quads and triangles so that each type is one draw.
struct RecordedPass {
    struct Vertices {
        std::vector<GLfloat> position, normal, colour;  // 3, 3 and 4 per vertex
        GLsizei count() const { return static_cast<GLsizei>(position.size() / 3); }
    };
    Vertices lines, quads, triangles;
    GLsizei vertexCount() const { return lines.count() + quads.count() + triangles.count(); }
    // Draws the recorded vertices: one glDrawArrays per primitive type, with their colours
    // when withColour (the shadow pass draws in the current colour).
    void draw(bool withColour) const;
};

// Starts recording into pass (nothing else may be recorded until stopRecording).
void startRecording(RecordedPass* pass);
void stopRecording();
