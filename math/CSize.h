#pragma once

// A 2D extent.
class CSize {
public:
    float width, height;

    CSize();
    CSize(float w, float h) : width(w), height(h) {}
};
