#pragma once
// The general vector family (CVector2, CVector3, CVector4), the quaternion and the free
// vector, plane, polygon, sphere and triangle routines built on CVector3.
#include "math/sColor.h"

#include <cmath>

class CVector2 {
public:
    float x, y;

    CVector2() : x(0.0f), y(0.0f) {}
    CVector2(float x_, float y_) : x(x_), y(y_) {}

    float length() const { return std::sqrt(x * x + y * y); }
    // A zero vector has no direction, so it stays as it is.
    void normalize() {
        const float len = length();
        if (len == 0.0f) return;
        x /= len;
        y /= len;
    }
    void add_own(CVector2 v) {
        x += v.x;
        y += v.y;
    }
    CVector2 operator+(CVector2 v) const { return CVector2(x + v.x, y + v.y); }
    CVector2 operator-(CVector2 v) const { return CVector2(x - v.x, y - v.y); }
    CVector2 operator*(float s) const { return CVector2(x * s, y * s); }
};

class CVector3 {
public:
    float x, y, z;

    CVector3() : x(0.0f), y(0.0f), z(0.0f) {}
    CVector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    void add(const CVector3& v) {
        x += v.x;
        y += v.y;
        z += v.z;
    }
    void mul(const CVector3& v) {
        x *= v.x;
        y *= v.y;
        z *= v.z;
    }
    float length() const { return std::sqrt(x * x + y * y + z * z); }
    void normalize() {
        const float len = length();
        if (len == 0.0f) return;
        x /= len;
        y /= len;
        z /= len;
    }
    // The three components are contiguous, so this can be handed to glVertex3fv and the like.
    float* GetArray() { return &x; }
    const float* GetArray() const { return &x; }

    CVector3 operator+(CVector3 v) const { return CVector3(x + v.x, y + v.y, z + v.z); }
    CVector3 operator-(CVector3 v) const { return CVector3(x - v.x, y - v.y, z - v.z); }
    CVector3 operator*(float s) const { return CVector3(x * s, y * s, z * s); }
    CVector3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    CVector3& operator/=(float s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
};

class CVector4 {
public:
    float x, y, z, w;

    CVector4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

class CQuaternion {
public:
    float x, y, z, w;

    CQuaternion() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
    CQuaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    // Writes the rotation as 16 column-major floats; null is ignored.
    void CreateMatrix(float* m) const;
    // Reads a 3x3 (columns == 3) or 4x4 (columns == 4) rotation; anything else is ignored.
    void CreateFromMatrix(const float* m, int columns);
    // Spherical interpolation from q1 (t = 0) to q2 (t = 1). Takes the short way round by
    // negating q2 in place when the two lie in opposite hemispheres.
    static CQuaternion Slerp(const CQuaternion& q1, CQuaternion& q2, float t);
};

// --- Vector helpers --------------------------------------------------------------------

float Absolute(float f);
CVector3 Cross(CVector3 a, CVector3 b);
float Magnitude(CVector3 v);
// Unit vector along v; the zero vector for a zero v, so degenerate input never yields NaN.
CVector3 Normalize(CVector3 v);
// Unit normal of the triangle tri[0..2]; the zero vector for a degenerate triangle.
CVector3 Normal(const CVector3* tri);
float Distance(const CVector3& a, const CVector3& b);
float Dot(const CVector3& a, const CVector3& b);
// In radians (the one routine here that does not use degrees); 0 when either vector is zero.
double AngleBetweenVectors(const CVector3& a, const CVector3& b);
// a - b: the vector from b to a.
CVector3 Vector(CVector3 a, CVector3 b);
CVector3 AddVector(CVector3 a, CVector3 b);
CVector3 DivideVectorByScaler(CVector3 v, float s);

// --- Planes, polygons, spheres, triangles ----------------------------------------------
// A polygon is an array of points, a line an array of two points. A plane (n, d) holds
// the points p with n . p + d = 0.

// The d of the plane with the given normal through point.
float PlaneDistance(const CVector3& normal, const CVector3& point);
// The point of segment a-b nearest to p.
CVector3 ClosestPointOnLine(CVector3 a, CVector3 b, CVector3 p);
// Writes the polygon's plane (normal, distance); true when the line's two ends lie
// strictly on opposite sides of it.
bool IntersectedPlane(const CVector3* poly, const CVector3* line, CVector3& normal,
                      float& distance);
// Where the infinite line through line[0] and line[1] meets the plane; line[0] when the
// line runs parallel to it.
CVector3 IntersectionPoint(CVector3 normal, const CVector3* line, double distance);
// Angle-sum test: the angles subtended by the edges add up to (nearly) 2*pi inside.
bool InsidePolygon(CVector3 point, const CVector3* poly, long count);
bool IntersectedPolygon(const CVector3* poly, const CVector3* line, int count);

enum { SPHERE_BEHIND = 0, SPHERE_INTERSECTS = 1, SPHERE_FRONT = 2 };
// Classifies the sphere against the plane through point with the given normal and writes
// the centre's signed distance: 0 behind, 1 intersecting, 2 in front.
int ClassifySphere(const CVector3& centre, const CVector3& normal, const CVector3& point,
                   float radius, float& distance);
bool EdgeSphereCollision(const CVector3& centre, const CVector3* poly, int count, float radius);
bool SpherePolygonCollision(const CVector3* poly, const CVector3& centre, int count, float radius);
// How far to push a sphere at the given signed distance out of the plane.
CVector3 GetCollisionOffset(const CVector3& normal, float radius, float distance);

bool check_same_clock_dir(CVector3 p1, CVector3 p2, CVector3 p3, CVector3 normal);
// Ray against the front face of triangle p1 p2 p3. *hit receives the point where the ray
// meets the triangle's plane whenever that lies ahead of the ray, even on a miss.
bool check_intersect_tri(CVector3 p1, CVector3 p2, CVector3 p3, CVector3 linePoint,
                         CVector3 direction, CVector3* hit);
