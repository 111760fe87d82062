#pragma once
// Triangle meshes built from simple solids, with a texture rectangle per solid so
// one skin image can carry a whole character. Triangles wind counter-clockwise
// seen from outside, y is up; the format writers convert from here.
#include "tools/assetgen/canvas.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace assetgen {

struct Vec2 {
    float u = 0, v = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float k) const { return {x * k, y * k, z * k}; }
};

inline float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const Vec3& a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Normalized(const Vec3& a) {
    float l = Length(a);
    return l > 0 ? a * (1.0f / l) : Vec3{0, 1, 0};
}

inline float Rad(float degrees) {
    return degrees * kPi / 180.0f;
}

// Rigid transform: rotation columns plus translation.
struct Xform {
    Vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1}, t{0, 0, 0};
    Vec3 Apply(const Vec3& p) const { return x * p.x + y * p.y + z * p.z + t; }
    Vec3 Rotate(const Vec3& d) const { return x * d.x + y * d.y + z * d.z; }
    Xform operator*(const Xform& o) const; // this after o
    Xform Inverse() const;
    static Xform Translate(const Vec3& t);
    // Rotation by Euler angles in degrees, applied in z (pitch), x (roll), y (yaw) order.
    static Xform Euler(float rx, float ry, float rz);
    static Xform Scale(const Vec3& s); // not rigid; only for building solids
};

// A texture rectangle in [0,1] image space, (u0, v0) top-left.
struct UvRect {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    Vec2 At(float s, float t) const { return {u0 + (u1 - u0) * s, v0 + (v1 - v0) * t}; }
};

struct Vertex {
    Vec3 position;
    Vec2 uv; // v measured from the top of the image
};

struct Mesh {
    std::string name;
    std::vector<Vertex> vertices;
    std::vector<std::array<int, 3>> triangles;

    int Add(const Vec3& p, const Vec2& uv);
    void Triangle(int a, int b, int c) { triangles.push_back({a, b, c}); }
    void Quad(int a, int b, int c, int d) { Triangle(a, b, c), Triangle(a, c, d); }
    void Append(const Mesh& other, const Xform& where = Xform{});
    void Transform(const Xform& where);
    Vec3 Min() const;
    Vec3 Max() const;
};

// Solids. Each maps its texture rectangle once around (tubes) or per face (boxes).
// A tube runs along +y from y = 0 to y = length; radii per ring (x and z half sizes).
Mesh Tube(float length, const std::vector<std::array<float, 2>>& ringRadii, int segments,
          const UvRect& uv, bool capBottom = true, bool capTop = true);
// Ellipsoid centred at the origin; the texture wraps around y with the seam at -x.
Mesh Ellipsoid(const Vec3& radii, int segments, int rings, const UvRect& uv);
// Axis-aligned box; faces share the rectangle in a cross layout unless `perFace`.
Mesh Box(const Vec3& min, const Vec3& max, const UvRect& uv);
// Box whose faces map world units to texture repeats (for scenery): uv = coord / tile.
Mesh TiledBox(const Vec3& min, const Vec3& max, float tile, bool top = true, bool bottom = false);

} // namespace assetgen
