#include "math/matrix4.h"

#include <cstring>

void SinCosDegrees(double angle, float& s, float& c) {
    const double radians = angle * 3.141592653589793 / 180.0;
    s = float(std::sin(radians));
    c = float(std::cos(radians));
}

MATRIX4X4::MATRIX4X4(float e0, float e1, float e2, float e3, float e4, float e5, float e6, float e7,
                     float e8, float e9, float e10, float e11, float e12, float e13, float e14,
                     float e15)
    : entries{e0, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, e12, e13, e14, e15} {}

MATRIX4X4::MATRIX4X4(const float* rhs) {
    std::memcpy(entries, rhs, sizeof(entries));
}

void MATRIX4X4::SetEntry(int position, float value) {
    if (position >= 0 && position <= 15) entries[position] = value;
}

float MATRIX4X4::GetEntry(int position) const {
    if (position >= 0 && position <= 15) return entries[position];
    return 0.0f;
}

VECTOR4D MATRIX4X4::GetRow(int position) const {
    if (position < 0 || position > 3) return VECTOR4D(0.0f, 0.0f, 0.0f, 0.0f);
    return VECTOR4D(entries[position], entries[4 + position], entries[8 + position],
                    entries[12 + position]);
}

VECTOR4D MATRIX4X4::GetColumn(int position) const {
    if (position < 0 || position > 3) return VECTOR4D(0.0f, 0.0f, 0.0f, 0.0f);
    const float* c = entries + position * 4;
    return VECTOR4D(c[0], c[1], c[2], c[3]);
}

void MATRIX4X4::LoadIdentity() {
    LoadZero();
    entries[0] = entries[5] = entries[10] = entries[15] = 1.0f;
}

void MATRIX4X4::LoadZero() {
    for (float& e : entries)
        e = 0.0f;
}

MATRIX4X4 MATRIX4X4::operator+(const MATRIX4X4& rhs) const {
    MATRIX4X4 r;
    for (int i = 0; i < 16; ++i)
        r.entries[i] = entries[i] + rhs.entries[i];
    return r;
}

MATRIX4X4 MATRIX4X4::operator-(const MATRIX4X4& rhs) const {
    MATRIX4X4 r;
    for (int i = 0; i < 16; ++i)
        r.entries[i] = entries[i] - rhs.entries[i];
    return r;
}

MATRIX4X4 MATRIX4X4::operator-() const {
    MATRIX4X4 r;
    for (int i = 0; i < 16; ++i)
        r.entries[i] = -entries[i];
    return r;
}

MATRIX4X4 MATRIX4X4::operator*(float rhs) const {
    MATRIX4X4 r;
    for (int i = 0; i < 16; ++i)
        r.entries[i] = entries[i] * rhs;
    return r;
}

MATRIX4X4 MATRIX4X4::operator/(float rhs) const {
    if (rhs == 0.0f || rhs == 1.0f) return *this;
    return *this * (1.0f / rhs);
}

bool MATRIX4X4::operator==(const MATRIX4X4& rhs) const {
    for (int i = 0; i < 16; ++i)
        if (entries[i] != rhs.entries[i]) return false;
    return true;
}

MATRIX4X4 MATRIX4X4::operator*(const MATRIX4X4& rhs) const {
    // Column c of the product is a's columns weighted by b's column c; written four rows at
    // a time so that the compiler can keep each column in one vector register.
    const float* a = entries;
    const float* b = rhs.entries;
    MATRIX4X4 r{Uninitialized{}};
    float* e = r.entries;

    if (rhs.HasAffineBottomRow()) {
        // b's bottom row is (0, 0, 0, 1): its zeros drop a quarter of the terms.
        for (int c = 0; c < 3; ++c) {
            const float* bc = b + c * 4;
            for (int row = 0; row < 4; ++row)
                e[c * 4 + row] = a[row] * bc[0] + a[4 + row] * bc[1] + a[8 + row] * bc[2];
        }
        for (int row = 0; row < 4; ++row)
            e[12 + row] = a[row] * b[12] + a[4 + row] * b[13] + a[8 + row] * b[14] + a[12 + row];
    } else {
        for (int c = 0; c < 4; ++c) {
            const float* bc = b + c * 4;
            for (int row = 0; row < 4; ++row)
                e[c * 4 + row] =
                    a[row] * bc[0] + a[4 + row] * bc[1] + a[8 + row] * bc[2] + a[12 + row] * bc[3];
        }
    }
    // With a's bottom row (0, 0, 0, 1) the product's bottom row is b's, exactly.
    if (HasAffineBottomRow())
        for (int c = 0; c < 4; ++c)
            e[c * 4 + 3] = b[c * 4 + 3];
    return r;
}

VECTOR4D MATRIX4X4::operator*(const VECTOR4D& v) const {
    const float* e = entries;
    const float x = e[0] * v.x + e[4] * v.y + e[8] * v.z + e[12] * v.w;
    const float y = e[1] * v.x + e[5] * v.y + e[9] * v.z + e[13] * v.w;
    const float z = e[2] * v.x + e[6] * v.y + e[10] * v.z + e[14] * v.w;
    if (HasAffineBottomRow()) return VECTOR4D(x, y, z, v.w);
    return VECTOR4D(x, y, z, e[3] * v.x + e[7] * v.y + e[11] * v.z + e[15] * v.w);
}

VECTOR3D MATRIX4X4::GetRotatedVector3D(const VECTOR3D& v) const {
    const float* e = entries;
    return VECTOR3D(e[0] * v.x + e[4] * v.y + e[8] * v.z, e[1] * v.x + e[5] * v.y + e[9] * v.z,
                    e[2] * v.x + e[6] * v.y + e[10] * v.z);
}

VECTOR3D MATRIX4X4::GetInverseRotatedVector3D(const VECTOR3D& v) const {
    const float* e = entries;
    return VECTOR3D(e[0] * v.x + e[1] * v.y + e[2] * v.z, e[4] * v.x + e[5] * v.y + e[6] * v.z,
                    e[8] * v.x + e[9] * v.y + e[10] * v.z);
}

VECTOR3D MATRIX4X4::GetTranslatedVector3D(const VECTOR3D& v) const {
    return VECTOR3D(v.x + entries[12], v.y + entries[13], v.z + entries[14]);
}

VECTOR3D MATRIX4X4::GetInverseTranslatedVector3D(const VECTOR3D& v) const {
    return VECTOR3D(v.x - entries[12], v.y - entries[13], v.z - entries[14]);
}

MATRIX4X4 MATRIX4X4::GetInverseTranspose() const {
    // element(r, c) of this matrix
    auto at = [this](int r, int c) { return entries[c * 4 + r]; };

    // 2x2 determinants of row pairs, taken once per column pair and shared by the cofactors:
    // low[i][j] from columns 0 and 1, high[i][j] from columns 2 and 3.
    float low[4][4] = {}, high[4][4] = {};
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            low[i][j] = at(i, 0) * at(j, 1) - at(j, 0) * at(i, 1);
            high[i][j] = at(i, 2) * at(j, 3) - at(j, 2) * at(i, 3);
        }

    static const int kOtherRows[4][3] = {{1, 2, 3}, {0, 2, 3}, {0, 1, 3}, {0, 1, 2}};
    MATRIX4X4 cofactors;
    for (int r = 0; r < 4; ++r) {
        const int a = kOtherRows[r][0], b = kOtherRows[r][1], c = kOtherRows[r][2];
        // Minor of (r, col) for col in 0..1: the 3x3 of columns {other of 0/1, 2, 3},
        // expanded along its first column.
        const float minor0 = at(a, 1) * high[b][c] - at(b, 1) * high[a][c] + at(c, 1) * high[a][b];
        const float minor1 = at(a, 0) * high[b][c] - at(b, 0) * high[a][c] + at(c, 0) * high[a][b];
        // Minor of (r, col) for col in 2..3: columns {0, 1, other of 2/3}, expanded along
        // its last column.
        const float minor2 = at(a, 3) * low[b][c] - at(b, 3) * low[a][c] + at(c, 3) * low[a][b];
        const float minor3 = at(a, 2) * low[b][c] - at(b, 2) * low[a][c] + at(c, 2) * low[a][b];
        const float sign = (r % 2 == 0) ? 1.0f : -1.0f;
        cofactors.entries[0 * 4 + r] = sign * minor0;
        cofactors.entries[1 * 4 + r] = -sign * minor1;
        cofactors.entries[2 * 4 + r] = sign * minor2;
        cofactors.entries[3 * 4 + r] = -sign * minor3;
    }

    const float det = entries[0] * cofactors.entries[0] + entries[1] * cofactors.entries[1] +
                      entries[2] * cofactors.entries[2] + entries[3] * cofactors.entries[3];
    if (det == 0.0f) return MATRIX4X4();
    return cofactors / det;
}

MATRIX4X4 MATRIX4X4::GetInverse() const {
    return GetInverseTranspose().GetTranspose();
}

MATRIX4X4 MATRIX4X4::GetTranspose() const {
    MATRIX4X4 r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            r.entries[row * 4 + c] = entries[c * 4 + row];
    return r;
}

MATRIX4X4 MATRIX4X4::GetAffineInverse() const {
    const float* e = entries;
    const float tx = e[12], ty = e[13], tz = e[14];
    return MATRIX4X4(e[0], e[4], e[8], 0.0f, e[1], e[5], e[9], 0.0f, e[2], e[6], e[10], 0.0f,
                     -(e[0] * tx + e[1] * ty + e[2] * tz), -(e[4] * tx + e[5] * ty + e[6] * tz),
                     -(e[8] * tx + e[9] * ty + e[10] * tz), 1.0f);
}

MATRIX4X4 MATRIX4X4::GetAffineInverseTranspose() const {
    return GetAffineInverse().GetTranspose();
}

void MATRIX4X4::SetTranslation(const VECTOR3D& translation) {
    LoadIdentity();
    SetTranslationPart(translation);
}

void MATRIX4X4::SetTranslationPart(const VECTOR3D& translation) {
    entries[12] = translation.x;
    entries[13] = translation.y;
    entries[14] = translation.z;
}

void MATRIX4X4::SetScale(const VECTOR3D& scaleFactor) {
    LoadIdentity();
    entries[0] = scaleFactor.x;
    entries[5] = scaleFactor.y;
    entries[10] = scaleFactor.z;
}

void MATRIX4X4::SetUniformScale(float scaleFactor) {
    LoadIdentity();
    entries[0] = entries[5] = entries[10] = scaleFactor;
}

void MATRIX4X4::SetRotationAxis(double angle, const VECTOR3D& axis) {
    const VECTOR3D u = axis.GetNormalized();
    float s, c;
    SinCosDegrees(angle, s, c);
    const float t = 1.0f - c;
    LoadIdentity();
    entries[0] = u.x * u.x + (1.0f - u.x * u.x) * c;
    entries[4] = u.x * u.y * t - u.z * s;
    entries[8] = u.x * u.z * t + u.y * s;
    entries[1] = u.x * u.y * t + u.z * s;
    entries[5] = u.y * u.y + (1.0f - u.y * u.y) * c;
    entries[9] = u.y * u.z * t - u.x * s;
    entries[2] = u.x * u.z * t - u.y * s;
    entries[6] = u.y * u.z * t + u.x * s;
    entries[10] = u.z * u.z + (1.0f - u.z * u.z) * c;
}

void MATRIX4X4::SetRotationX(double angle) {
    float s, c;
    SinCosDegrees(angle, s, c);
    LoadIdentity();
    entries[5] = c;
    entries[6] = s;
    entries[9] = -s;
    entries[10] = c;
}

void MATRIX4X4::SetRotationY(double angle) {
    float s, c;
    SinCosDegrees(angle, s, c);
    LoadIdentity();
    entries[0] = c;
    entries[2] = -s;
    entries[8] = s;
    entries[10] = c;
}

void MATRIX4X4::SetRotationZ(double angle) {
    float s, c;
    SinCosDegrees(angle, s, c);
    LoadIdentity();
    entries[0] = c;
    entries[1] = s;
    entries[4] = -s;
    entries[5] = c;
}

void MATRIX4X4::SetRotationEuler(double angleX, double angleY, double angleZ) {
    LoadIdentity();
    SetRotationPartEuler(angleX, angleY, angleZ);
}

void MATRIX4X4::SetRotationPartEuler(double angleX, double angleY, double angleZ) {
    float sr, cr, sp, cp, sy, cy;
    SinCosDegrees(angleX, sr, cr);
    SinCosDegrees(angleY, sp, cp);
    SinCosDegrees(angleZ, sy, cy);
    entries[0] = cp * cy;
    entries[1] = cp * sy;
    entries[2] = -sp;
    entries[4] = sr * sp * cy - cr * sy;
    entries[5] = sr * sp * sy + cr * cy;
    entries[6] = sr * cp;
    entries[8] = cr * sp * cy + sr * sy;
    entries[9] = cr * sp * sy - sr * cy;
    entries[10] = cr * cp;
}

void MATRIX4X4::SetPerspective(float left, float right, float bottom, float top, float n, float f) {
    LoadZero();
    if (left == right || bottom == top || n == f) return;
    entries[0] = 2.0f * n / (right - left);
    entries[5] = 2.0f * n / (top - bottom);
    entries[8] = (right + left) / (right - left);
    entries[9] = (top + bottom) / (top - bottom);
    entries[11] = -1.0f;
    if (f == -1.0f) {
        // A far plane at infinity; 0.999 rather than 1 keeps depth values below the far limit.
        entries[10] = -0.999f;
        entries[14] = n * -2.0f * 0.999f;
    } else {
        entries[10] = -(f + n) / (f - n);
        entries[14] = -2.0f * f * n / (f - n);
    }
}

void MATRIX4X4::SetPerspective(float fovy, float aspect, float n, float f) {
    const float radians = fovy * 0.017453292f;
    const float top = std::tan(radians / 2.0f) * n;
    SetPerspective(-top * aspect, top * aspect, -top, top, n, f);
}

void MATRIX4X4::SetOrtho(float left, float right, float bottom, float top, float n, float f) {
    LoadIdentity();
    entries[0] = 2.0f / (right - left);
    entries[5] = 2.0f / (top - bottom);
    entries[10] = -2.0f / (f - n);
    entries[12] = -(right + left) / (right - left);
    entries[13] = -(top + bottom) / (top - bottom);
    entries[14] = -(f + n) / (f - n);
}
