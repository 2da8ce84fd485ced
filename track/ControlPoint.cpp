// ControlPoint accessors.
#include "track/ControlPoint.h"

ControlPoint::ControlPoint(float x_, float y_, float z_, float radius_, float height_, int red_, int green_, int blue_)
    : x(x_), y(y_), z(z_), red(red_), green(green_), blue(blue_), radius(radius_), height(height_) {}

void ControlPoint::setPosition(float x_, float y_, float z_) {
    x = x_;
    y = y_;
    z = z_;
}

void ControlPoint::getPosition(float* outX, float* outY, float* outZ) const {
    *outX = x;
    *outY = y;
    *outZ = z;
}

void ControlPoint::setColor(int red_, int green_, int blue_) {
    red = red_;
    green = green_;
    blue = blue_;
}

void ControlPoint::getColor(int* outRed, int* outGreen, int* outBlue) const {
    *outRed = red;
    *outGreen = green;
    *outBlue = blue;
}

void ControlPoint::setRadius(float radius_) { radius = radius_; }
float ControlPoint::getRadius() const { return radius; }
void ControlPoint::setHeight(float height_) { height = height_; }
float ControlPoint::getHeight() const { return height; }
