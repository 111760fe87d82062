#pragma once
// 4x4 float matrix of the general family, column-major like OpenGL: the element at row r,
// column c is m[c * 4 + r], and m[12..14] hold the translation.
#include "math/3DMath.h"

class matrix4x4f {
public:
    float m[16];

    matrix4x4f() { identity(); }
    // The arguments are given row by row, as the matrix is written on paper.
    matrix4x4f(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
               float m13, float m20, float m21, float m22, float m23, float m30, float m31,
               float m32, float m33);

    void identity();
    // Each builder below starts from the identity and overwrites what it sets.
    void translate(const CVector3& t);
    void translate_x(const float& dist);
    void translate_y(const float& dist);
    void translate_z(const float& dist);
    // Normalizes the caller's axis in place, then builds the rotation by angle degrees.
    void rotate(const float& angle, CVector3& axis);
    void rotate_x(const float& angle);
    void rotate_y(const float& angle);
    void rotate_z(const float& angle);
    void scale(const CVector3& s);

    // p <- M * (p, 1): rotation, scale and translation.
    void transformPoint(CVector3* p) const {
        const float x = p->x, y = p->y, z = p->z;
        p->x = m[0] * x + m[4] * y + m[8] * z + m[12];
        p->y = m[1] * x + m[5] * y + m[9] * z + m[13];
        p->z = m[2] * x + m[6] * y + m[10] * z + m[14];
    }
    // v <- upper 3x3 of M * v: directions ignore the translation.
    void transformVector(CVector3* v) const {
        const float x = v->x, y = v->y, z = v->z;
        v->x = m[0] * x + m[4] * y + m[8] * z;
        v->y = m[1] * x + m[5] * y + m[9] * z;
        v->z = m[2] * x + m[6] * y + m[10] * z;
    }

    matrix4x4f operator+(const matrix4x4f& b) const;
    matrix4x4f operator-(const matrix4x4f& b) const;
    matrix4x4f operator*(const matrix4x4f& b) const;
    matrix4x4f operator*(float s) const;

    // Row i (0..3) as (m[i], m[4+i], m[8+i], m[12+i]); (0, 0, 0, 0) for any other i.
    CVector4 GetRow(int i) const;
};
