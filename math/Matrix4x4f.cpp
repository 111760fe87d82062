#include "math/Matrix4x4f.h"

namespace {

const float kDegToRad = 0.017453292f;

void SinCosDegrees(float angle, float& s, float& c) {
    const double radians = angle * kDegToRad;
    s = float(std::sin(radians));
    c = float(std::cos(radians));
}

} // namespace

matrix4x4f::matrix4x4f(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
                       float m13, float m20, float m21, float m22, float m23, float m30, float m31,
                       float m32, float m33) {
    const float rows[16] = {m00, m01, m02, m03, m10, m11, m12, m13,
                            m20, m21, m22, m23, m30, m31, m32, m33};
    for (int k = 0; k < 16; ++k)
        m[(k % 4) * 4 + k / 4] = rows[k];
}

void matrix4x4f::identity() {
    for (int i = 0; i < 16; ++i)
        m[i] = 0.0f;
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void matrix4x4f::translate(const CVector3& t) {
    identity();
    m[12] = t.x;
    m[13] = t.y;
    m[14] = t.z;
}

void matrix4x4f::translate_x(const float& dist) {
    identity();
    m[12] = dist;
}

void matrix4x4f::translate_y(const float& dist) {
    identity();
    m[13] = dist;
}

void matrix4x4f::translate_z(const float& dist) {
    identity();
    m[14] = dist;
}

void matrix4x4f::rotate(const float& angle, CVector3& axis) {
    axis.normalize();
    float s, c;
    SinCosDegrees(angle, s, c);
    const float t = 1.0f - c;
    const float x = axis.x, y = axis.y, z = axis.z;

    m[0] = x * x * t + c;
    m[1] = x * y * t + z * s;
    m[2] = x * z * t - y * s;
    m[3] = 0.0f;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[7] = 0.0f;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
    m[11] = 0.0f;
    m[12] = m[13] = m[14] = 0.0f;
    m[15] = 1.0f;
}

void matrix4x4f::rotate_x(const float& angle) {
    float s, c;
    SinCosDegrees(angle, s, c);
    identity();
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
}

void matrix4x4f::rotate_y(const float& angle) {
    float s, c;
    SinCosDegrees(angle, s, c);
    identity();
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
}

void matrix4x4f::rotate_z(const float& angle) {
    float s, c;
    SinCosDegrees(angle, s, c);
    identity();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
}

void matrix4x4f::scale(const CVector3& s) {
    identity();
    m[0] = s.x;
    m[5] = s.y;
    m[10] = s.z;
}

matrix4x4f matrix4x4f::operator+(const matrix4x4f& b) const {
    matrix4x4f r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = m[i] + b.m[i];
    return r;
}

matrix4x4f matrix4x4f::operator-(const matrix4x4f& b) const {
    matrix4x4f r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = m[i] - b.m[i];
    return r;
}

matrix4x4f matrix4x4f::operator*(const matrix4x4f& b) const {
    matrix4x4f r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            r.m[c * 4 + row] = m[row] * b.m[c * 4] + m[4 + row] * b.m[c * 4 + 1] +
                               m[8 + row] * b.m[c * 4 + 2] + m[12 + row] * b.m[c * 4 + 3];
    return r;
}

matrix4x4f matrix4x4f::operator*(float s) const {
    matrix4x4f r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = m[i] * s;
    return r;
}

CVector4 matrix4x4f::GetRow(int i) const {
    if (i < 0 || i > 3) return CVector4(0.0f, 0.0f, 0.0f, 0.0f);
    return CVector4(m[i], m[4 + i], m[8 + i], m[12 + i]);
}
