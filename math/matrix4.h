#pragma once
// 4x4 float matrix of the shadow-mapping family, column-major like OpenGL: entry
// c * 4 + r is row r, column c; entries 12..14 hold the translation and 3, 7, 11, 15 the
// bottom row. Angles are in degrees.
#include "math/vector3d.h"
#include "math/vector4d.h"

// Sine and cosine of an angle in degrees, computed in double precision.
void SinCosDegrees(double angle, float& s, float& c);

class MATRIX4X4 {
public:
    float entries[16];

    MATRIX4X4() { LoadIdentity(); }
    // The arguments are in storage (column-major) order.
    MATRIX4X4(float e0, float e1, float e2, float e3, float e4, float e5, float e6, float e7,
              float e8, float e9, float e10, float e11, float e12, float e13, float e14, float e15);
    MATRIX4X4(const MATRIX4X4& rhs) = default;
    explicit MATRIX4X4(const float* rhs);
    MATRIX4X4& operator=(const MATRIX4X4& rhs) = default;

    // Out-of-range indices are ignored by SetEntry and read as 0 by GetEntry.
    void SetEntry(int position, float value);
    float GetEntry(int position) const;
    // (0, 0, 0, 0) outside 0..3.
    VECTOR4D GetRow(int position) const;
    VECTOR4D GetColumn(int position) const;

    void LoadIdentity();
    void LoadZero();

    MATRIX4X4 operator+(const MATRIX4X4& rhs) const;
    MATRIX4X4 operator-(const MATRIX4X4& rhs) const;
    MATRIX4X4 operator*(const MATRIX4X4& rhs) const;
    MATRIX4X4 operator*(float rhs) const;
    // Dividing by exactly 0 or 1 returns an unchanged copy.
    MATRIX4X4 operator/(float rhs) const;
    MATRIX4X4 operator-() const;
    MATRIX4X4 operator+() const { return *this; }

    MATRIX4X4& operator+=(const MATRIX4X4& rhs) { return *this = *this + rhs; }
    MATRIX4X4& operator-=(const MATRIX4X4& rhs) { return *this = *this - rhs; }
    MATRIX4X4& operator*=(const MATRIX4X4& rhs) { return *this = *this * rhs; }
    MATRIX4X4& operator*=(float rhs) { return *this = *this * rhs; }
    MATRIX4X4& operator/=(float rhs) { return *this = *this / rhs; }

    bool operator==(const MATRIX4X4& rhs) const;
    bool operator!=(const MATRIX4X4& rhs) const { return !(*this == rhs); }

    VECTOR4D operator*(const VECTOR4D& rhs) const;

    VECTOR3D GetRotatedVector3D(const VECTOR3D& rhs) const;
    VECTOR3D GetInverseRotatedVector3D(const VECTOR3D& rhs) const;
    VECTOR3D GetTranslatedVector3D(const VECTOR3D& rhs) const;
    VECTOR3D GetInverseTranslatedVector3D(const VECTOR3D& rhs) const;

    // General inverse by cofactors; a singular matrix gives the identity.
    MATRIX4X4 GetInverseTranspose() const;
    void InvertTranspose() { *this = GetInverseTranspose(); }
    MATRIX4X4 GetInverse() const;
    void Invert() { *this = GetInverse(); }
    MATRIX4X4 GetTranspose() const;
    void Transpose() { *this = GetTranspose(); }
    // Inverse of a rigid transform (orthonormal rotation plus translation); cheaper than the
    // general inverse and wrong for anything else.
    MATRIX4X4 GetAffineInverse() const;
    void AffineInvert() { *this = GetAffineInverse(); }
    MATRIX4X4 GetAffineInverseTranspose() const;
    void AffineInvertTranspose() { *this = GetAffineInverseTranspose(); }

    void SetTranslation(const VECTOR3D& translation);
    void SetScale(const VECTOR3D& scaleFactor);
    void SetUniformScale(float scaleFactor);
    void SetRotationAxis(double angle, const VECTOR3D& axis);
    void SetRotationX(double angle);
    void SetRotationY(double angle);
    void SetRotationZ(double angle);
    // Rz(z) * Ry(y) * Rx(x): the rotation about x applies first.
    void SetRotationEuler(double angleX, double angleY, double angleZ);
    void SetPerspective(float left, float right, float bottom, float top, float n, float f);
    void SetPerspective(float fovy, float aspect, float n, float f);
    void SetOrtho(float left, float right, float bottom, float top, float n, float f);

    // These change only the part they name.
    void SetTranslationPart(const VECTOR3D& translation);
    void SetRotationPartEuler(double angleX, double angleY, double angleZ);

    // For glLoadMatrixf, glMultMatrixf and glGetFloatv.
    operator float*() { return entries; }
    operator const float*() const { return entries; }

private:
    // For results that are about to be overwritten in full.
    struct Uninitialized {};
    explicit MATRIX4X4(Uninitialized) {}

    bool HasAffineBottomRow() const {
        return entries[3] == 0.0f && entries[7] == 0.0f && entries[11] == 0.0f &&
               entries[15] == 1.0f;
    }
};

inline MATRIX4X4 operator*(float scaleFactor, const MATRIX4X4& rhs) {
    return rhs * scaleFactor;
}
