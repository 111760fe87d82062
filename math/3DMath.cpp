#include "math/3DMath.h"

// --- Quaternion --------------------------------------------------------------------------

void CQuaternion::CreateMatrix(float* m) const {
    if (!m) return;
    m[0] = 1.0f - 2.0f * (y * y + z * z);
    m[1] = 2.0f * (x * y - w * z);
    m[2] = 2.0f * (x * z + w * y);
    m[3] = 0.0f;
    m[4] = 2.0f * (x * y + w * z);
    m[5] = 1.0f - 2.0f * (x * x + z * z);
    m[6] = 2.0f * (y * z - w * x);
    m[7] = 0.0f;
    m[8] = 2.0f * (x * z - w * y);
    m[9] = 2.0f * (y * z + w * x);
    m[10] = 1.0f - 2.0f * (x * x + y * y);
    m[11] = m[12] = m[13] = m[14] = 0.0f;
    m[15] = 1.0f;
}

void CQuaternion::CreateFromMatrix(const float* in, int columns) {
    if (!in || (columns != 3 && columns != 4)) return;
    float m[16];
    if (columns == 3) {
        const float expanded[16] = {in[0], in[1], in[2], 0.0f, in[3], in[4], in[5], 0.0f,
                                    in[6], in[7], in[8], 0.0f, 0.0f,  0.0f,  0.0f,  1.0f};
        for (int i = 0; i < 16; ++i)
            m[i] = expanded[i];
    } else {
        for (int i = 0; i < 16; ++i)
            m[i] = in[i];
    }

    // Pick the largest of w, x, y, z to divide by, so S never gets near zero.
    const float trace = m[0] + m[5] + m[10] + 1.0f;
    if (trace > 1e-8f) {
        const float s = std::sqrt(trace) * 2.0f;
        x = (m[9] - m[6]) / s;
        y = (m[2] - m[8]) / s;
        z = (m[4] - m[1]) / s;
        w = 0.25f * s;
    } else if (m[0] > m[5] && m[0] > m[10]) {
        const float s = std::sqrt(1.0f + m[0] - m[5] - m[10]) * 2.0f;
        x = 0.25f * s;
        y = (m[4] + m[1]) / s;
        z = (m[2] + m[8]) / s;
        w = (m[9] - m[6]) / s;
    } else if (m[5] > m[10]) {
        const float s = std::sqrt(1.0f + m[5] - m[0] - m[10]) * 2.0f;
        x = (m[4] + m[1]) / s;
        y = 0.25f * s;
        z = (m[9] + m[6]) / s;
        w = (m[2] - m[8]) / s;
    } else {
        const float s = std::sqrt(1.0f + m[10] - m[0] - m[5]) * 2.0f;
        x = (m[2] + m[8]) / s;
        y = (m[9] + m[6]) / s;
        z = 0.25f * s;
        w = (m[4] - m[1]) / s;
    }
}

CQuaternion CQuaternion::Slerp(const CQuaternion& q1, CQuaternion& q2, float t) {
    if (q1.x == q2.x && q1.y == q2.y && q1.z == q2.z && q1.w == q2.w) return q1;

    float d = q1.x * q2.x + q1.y * q2.y + q1.z * q2.z + q1.w * q2.w;
    if (d < 0.0f) {
        q2 = CQuaternion(-q2.x, -q2.y, -q2.z, -q2.w);
        d = -d;
    }

    float scale0 = 1.0f - t;
    float scale1 = t;
    // Close quaternions interpolate linearly: sin(theta) would be too small to divide by.
    if (1.0f - d > 0.1f) {
        const double theta = std::acos(double(d));
        const double sinTheta = std::sin(theta);
        scale0 = float(std::sin((1.0 - t) * theta) / sinTheta);
        scale1 = float(std::sin(t * theta) / sinTheta);
    }
    return CQuaternion(scale0 * q1.x + scale1 * q2.x, scale0 * q1.y + scale1 * q2.y,
                       scale0 * q1.z + scale1 * q2.z, scale0 * q1.w + scale1 * q2.w);
}

// --- Vector helpers ----------------------------------------------------------------------

float Absolute(float f) {
    return f >= 0.0f ? f : -f;
}

CVector3 Cross(CVector3 a, CVector3 b) {
    return CVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Magnitude(CVector3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

CVector3 Normalize(CVector3 v) {
    // Degenerate triangles are common in real model files; a NaN here would spread into
    // every vertex normal that shares the face.
    const float m = Magnitude(v);
    if (m == 0.0f) return CVector3();
    return CVector3(v.x / m, v.y / m, v.z / m);
}

CVector3 Normal(const CVector3* tri) {
    return Normalize(Cross(tri[2] - tri[0], tri[1] - tri[0]));
}

float Distance(const CVector3& a, const CVector3& b) {
    return Magnitude(a - b);
}

float Dot(const CVector3& a, const CVector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double AngleBetweenVectors(const CVector3& a, const CVector3& b) {
    const float cosine = Dot(a, b) / (Magnitude(a) * Magnitude(b));
    // Rounding can push the cosine of (anti)parallel vectors just past +-1; clamp so that
    // they give 0 and pi. A zero vector gives 0/0 = NaN, which stays NaN and reads as 0.
    const double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, double(cosine))));
    return std::isnan(cosine) ? 0.0 : angle;
}

CVector3 Vector(CVector3 a, CVector3 b) {
    return a - b;
}

CVector3 AddVector(CVector3 a, CVector3 b) {
    return a + b;
}

CVector3 DivideVectorByScaler(CVector3 v, float s) {
    return CVector3(v.x / s, v.y / s, v.z / s);
}

// --- Planes, polygons, spheres, triangles ------------------------------------------------

float PlaneDistance(const CVector3& normal, const CVector3& point) {
    return -Dot(normal, point);
}

CVector3 ClosestPointOnLine(CVector3 a, CVector3 b, CVector3 p) {
    const CVector3 toPoint = p - a;
    const CVector3 along = Normalize(b - a);
    const float length = Distance(a, b);
    const float t = Dot(along, toPoint);
    if (t <= 0.0f) return a;
    if (t >= length) return b;
    return a + along * t;
}

bool IntersectedPlane(const CVector3* poly, const CVector3* line, CVector3& normal,
                      float& distance) {
    normal = Normal(poly);
    distance = PlaneDistance(normal, poly[0]);
    const float d1 = Dot(normal, line[0]) + distance;
    const float d2 = Dot(normal, line[1]) + distance;
    return d1 * d2 < 0.0f;
}

CVector3 IntersectionPoint(CVector3 normal, const CVector3* line, double distance) {
    const CVector3 direction = Normalize(line[1] - line[0]);
    const double numerator = -(double(normal.x) * line[0].x + double(normal.y) * line[0].y +
                               double(normal.z) * line[0].z + distance);
    const float denominator = Dot(normal, direction);
    if (denominator == 0.0f) return line[0];
    const float t = float(numerator / denominator);
    return line[0] + direction * t;
}

bool InsidePolygon(CVector3 point, const CVector3* poly, long count) {
    const double kNearlyFullTurn = 6.220353454107791; // 0.99 * 2 pi absorbs rounding
    double angle = 0.0;
    for (long i = 0; i < count; ++i) {
        const CVector3 a = poly[i] - point;
        const CVector3 b = poly[(i + 1) % count] - point;
        angle += AngleBetweenVectors(a, b);
    }
    return angle >= kNearlyFullTurn;
}

bool IntersectedPolygon(const CVector3* poly, const CVector3* line, int count) {
    CVector3 normal;
    float distance = 0.0f;
    if (!IntersectedPlane(poly, line, normal, distance)) return false;
    return InsidePolygon(IntersectionPoint(normal, line, distance), poly, count);
}

int ClassifySphere(const CVector3& centre, const CVector3& normal, const CVector3& point,
                   float radius, float& distance) {
    distance = Dot(normal, centre) + PlaneDistance(normal, point);
    if (Absolute(distance) < radius) return SPHERE_INTERSECTS;
    if (distance >= radius) return SPHERE_FRONT;
    return SPHERE_BEHIND;
}

bool EdgeSphereCollision(const CVector3& centre, const CVector3* poly, int count, float radius) {
    for (int i = 0; i < count; ++i) {
        const CVector3 closest = ClosestPointOnLine(poly[i], poly[(i + 1) % count], centre);
        if (Distance(closest, centre) < radius) return true;
    }
    return false;
}

bool SpherePolygonCollision(const CVector3* poly, const CVector3& centre, int count, float radius) {
    const CVector3 normal = Normal(poly);
    float distance = 0.0f;
    if (ClassifySphere(centre, normal, poly[0], radius, distance) != SPHERE_INTERSECTS)
        return false;
    const CVector3 projected = centre - normal * distance;
    return InsidePolygon(projected, poly, 3) || EdgeSphereCollision(centre, poly, count, radius);
}

CVector3 GetCollisionOffset(const CVector3& normal, float radius, float distance) {
    if (distance > 0.0f) return normal * (radius - distance);
    return normal * -(radius + distance);
}

bool check_same_clock_dir(CVector3 p1, CVector3 p2, CVector3 p3, CVector3 normal) {
    return Dot(Cross(p2 - p1, p3 - p1), normal) >= 0.0f;
}

bool check_intersect_tri(CVector3 p1, CVector3 p2, CVector3 p3, CVector3 linePoint,
                         CVector3 direction, CVector3* hit) {
    const CVector3 normal = Cross(p2 - p1, p3 - p2);
    const float s = Dot(normal, direction);
    if (s >= 0.0f) return false; // parallel, or the back face
    const float t = -Dot(normal, linePoint - p1) / s;
    if (t < 0.0f) return false;
    *hit = linePoint + direction * t;
    return check_same_clock_dir(p1, p2, *hit, normal) &&
           check_same_clock_dir(p2, p3, *hit, normal) && check_same_clock_dir(p3, p1, *hit, normal);
}
