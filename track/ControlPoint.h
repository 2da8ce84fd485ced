// ControlPoint: one user-placed point — a point of the track, of the guide ring, or a tree.
#pragma once

class ControlPoint {
public:
    // Position (x, y, z; y is up), then radius and height (used by trees only),
    // then the colour as three components 0..255.
    ControlPoint(float x, float y, float z, float radius, float height, int red, int green, int blue);

    void setPosition(float x, float y, float z);
    void getPosition(float* x, float* y, float* z) const;
    void setColor(int red, int green, int blue);
    void getColor(int* red, int* green, int* blue) const;
    void setRadius(float radius);
    float getRadius() const;
    void setHeight(float height);
    float getHeight() const;

    float x, y, z;
    int red, green, blue;  // 0..255
    float radius;          // crown radius of a tree; carried but not drawn for track points
    float height;          // tip height of a tree; carried but not drawn for track points
};

// Colours and sizes every creator of a point uses (adding by key, loading a file).
constexpr int kTrackPointColor[3] = {255, 0, 0};
constexpr int kGuidePointColor[3] = {0, 0, 255};
constexpr int kTreeColor[3] = {0, 0, 0};
constexpr float kPointRadius = 1.0f;
constexpr float kPointHeight = 1.0f;
