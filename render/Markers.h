// The cube every marker is drawn with (control points, the light).
#pragma once

// Edge lengths of the markers.
constexpr double kPointMarkerSize = 0.25;
constexpr double kLightMarkerSize = 0.5;

// Draws an axis-aligned cube of edge size centred on (x, y, z) as one GL_QUADS batch with face
// normals, in the current colour. Leaves the matrix as it found it.
void drawCube(double x, double y, double z, double size);
