#pragma once

// A colour of four floats from 0 to 1. The memory order is red, blue, green, alpha; every
// class that keeps one hands it to OpenGL as red, green, blue, alpha.
struct sColor {
    float r = 1.0f;
    float b = 1.0f;
    float g = 1.0f;
    float a = 1.0f;

    sColor() = default;
    // Four separate floats are always given as r, g, b, a.
    sColor(float red, float green, float blue, float alpha) : r(red), b(blue), g(green), a(alpha) {}
};
