#include "tools/assetgen/mesh.h"

#include <algorithm>

namespace assetgen {

Xform Xform::operator*(const Xform& o) const {
    Xform r;
    r.x = Rotate(o.x);
    r.y = Rotate(o.y);
    r.z = Rotate(o.z);
    r.t = Apply(o.t);
    return r;
}

Xform Xform::Inverse() const {
    // Rigid only: the transpose undoes the rotation.
    Xform r;
    r.x = {x.x, y.x, z.x};
    r.y = {x.y, y.y, z.y};
    r.z = {x.z, y.z, z.z};
    r.t = r.Rotate(t) * -1.0f;
    return r;
}

Xform Xform::Translate(const Vec3& t) {
    Xform r;
    r.t = t;
    return r;
}

Xform Xform::Scale(const Vec3& s) {
    Xform r;
    r.x = {s.x, 0, 0};
    r.y = {0, s.y, 0};
    r.z = {0, 0, s.z};
    return r;
}

Xform Xform::Euler(float rx, float ry, float rz) {
    auto about = [](int axis, float deg) {
        float c = std::cos(Rad(deg)), s = std::sin(Rad(deg));
        Xform r;
        if (axis == 0) r.y = {0, c, s}, r.z = {0, -s, c};
        if (axis == 1) r.x = {c, 0, -s}, r.z = {s, 0, c};
        if (axis == 2) r.x = {c, s, 0}, r.y = {-s, c, 0};
        return r;
    };
    return about(1, ry) * about(0, rx) * about(2, rz);
}

int Mesh::Add(const Vec3& p, const Vec2& uv) {
    vertices.push_back({p, uv});
    return static_cast<int>(vertices.size()) - 1;
}

void Mesh::Append(const Mesh& other, const Xform& where) {
    int base = static_cast<int>(vertices.size());
    for (const Vertex& v : other.vertices)
        vertices.push_back({where.Apply(v.position), v.uv});
    for (const auto& t : other.triangles)
        triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void Mesh::Transform(const Xform& where) {
    for (Vertex& v : vertices)
        v.position = where.Apply(v.position);
}

Vec3 Mesh::Min() const {
    Vec3 m{1e30f, 1e30f, 1e30f};
    for (const Vertex& v : vertices)
        m = {std::min(m.x, v.position.x), std::min(m.y, v.position.y), std::min(m.z, v.position.z)};
    return m;
}

Vec3 Mesh::Max() const {
    Vec3 m{-1e30f, -1e30f, -1e30f};
    for (const Vertex& v : vertices)
        m = {std::max(m.x, v.position.x), std::max(m.y, v.position.y), std::max(m.z, v.position.z)};
    return m;
}

Mesh Tube(float length, const std::vector<std::array<float, 2>>& ringRadii, int segments,
          const UvRect& uv, bool capBottom, bool capTop) {
    Mesh m;
    int rings = static_cast<int>(ringRadii.size());
    for (int r = 0; r < rings; ++r) {
        float y = length * r / (rings - 1);
        for (int s = 0; s <= segments; ++s) {
            // Seam at the back (-x) so the front of a limb is mid-texture.
            float a = kPi + 2 * kPi * s / segments;
            Vec3 p{std::cos(a) * ringRadii[r][0], y, std::sin(a) * ringRadii[r][1]};
            m.Add(p, uv.At(static_cast<float>(s) / segments,
                           1.0f - static_cast<float>(r) / (rings - 1)));
        }
    }
    int row = segments + 1;
    for (int r = 0; r + 1 < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            int a = r * row + s, b = a + 1, c = a + row + 1, d = a + row;
            m.Quad(a, d, c, b);
        }
    auto cap = [&](int r, bool top) {
        Vec2 centreUv = uv.At(0.5f, top ? 0.02f : 0.98f);
        int centre = m.Add({0, length * r / (rings - 1), 0}, centreUv);
        for (int s = 0; s < segments; ++s) {
            int a = r * row + s, b = a + 1;
            int ca = m.Add(m.vertices[a].position, centreUv),
                cb = m.Add(m.vertices[b].position, centreUv);
            if (top)
                m.Triangle(centre, cb, ca);
            else
                m.Triangle(centre, ca, cb);
        }
    };
    if (capBottom) cap(0, false);
    if (capTop) cap(rings - 1, true);
    return m;
}

Mesh Ellipsoid(const Vec3& radii, int segments, int rings, const UvRect& uv) {
    Mesh m;
    for (int r = 0; r <= rings; ++r) {
        float phi = kPi * r / rings; // 0 at the top
        for (int s = 0; s <= segments; ++s) {
            float a = kPi + 2 * kPi * s / segments;
            Vec3 p{std::cos(a) * std::sin(phi) * radii.x, std::cos(phi) * radii.y,
                   std::sin(a) * std::sin(phi) * radii.z};
            m.Add(p, uv.At(static_cast<float>(s) / segments, static_cast<float>(r) / rings));
        }
    }
    int row = segments + 1;
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            int a = r * row + s, b = a + 1, c = a + row + 1, d = a + row;
            if (r == 0)
                m.Triangle(a, c, d);
            else if (r == rings - 1)
                m.Triangle(a, b, d);
            else
                m.Quad(a, b, c, d);
        }
    return m;
}

Mesh Box(const Vec3& lo, const Vec3& hi, const UvRect& uv) {
    Mesh m;
    // Cross layout: columns (-z side, front +x, +z side, back -x) and top/bottom.
    auto face = [&](Vec3 o, Vec3 du, Vec3 dv, float s0, float t0, float s1, float t1) {
        int a = m.Add(o, uv.At(s0, t1)), b = m.Add(o + du, uv.At(s1, t1));
        int c = m.Add(o + du + dv, uv.At(s1, t0)), d = m.Add(o + dv, uv.At(s0, t0));
        m.Quad(a, b, c, d);
    };
    Vec3 d = hi - lo;
    face({lo.x, lo.y, lo.z}, {0, 0, d.z}, {0, d.y, 0}, 0.75f, 0.25f, 1.0f, 0.75f);  // -x
    face({hi.x, lo.y, hi.z}, {0, 0, -d.z}, {0, d.y, 0}, 0.25f, 0.25f, 0.5f, 0.75f); // +x
    face({hi.x, lo.y, lo.z}, {-d.x, 0, 0}, {0, d.y, 0}, 0.0f, 0.25f, 0.25f, 0.75f); // -z
    face({lo.x, lo.y, hi.z}, {d.x, 0, 0}, {0, d.y, 0}, 0.5f, 0.25f, 0.75f, 0.75f);  // +z
    face({lo.x, hi.y, hi.z}, {d.x, 0, 0}, {0, 0, -d.z}, 0.25f, 0.0f, 0.5f, 0.25f);  // +y
    face({lo.x, lo.y, lo.z}, {d.x, 0, 0}, {0, 0, d.z}, 0.25f, 0.75f, 0.5f, 1.0f);   // -y
    return m;
}

Mesh TiledBox(const Vec3& lo, const Vec3& hi, float tile, bool top, bool bottom) {
    Mesh m;
    auto face = [&](Vec3 o, Vec3 du, Vec3 dv, float su, float sv) {
        float uo = 0, vo = 0;
        int a = m.Add(o, {uo, vo + sv / tile}), b = m.Add(o + du, {uo + su / tile, vo + sv / tile});
        int c = m.Add(o + du + dv, {uo + su / tile, vo}), d = m.Add(o + dv, {uo, vo});
        m.Quad(a, b, c, d);
    };
    Vec3 d = hi - lo;
    face({lo.x, lo.y, lo.z}, {0, 0, d.z}, {0, d.y, 0}, d.z, d.y);
    face({hi.x, lo.y, hi.z}, {0, 0, -d.z}, {0, d.y, 0}, d.z, d.y);
    face({hi.x, lo.y, lo.z}, {-d.x, 0, 0}, {0, d.y, 0}, d.x, d.y);
    face({lo.x, lo.y, hi.z}, {d.x, 0, 0}, {0, d.y, 0}, d.x, d.y);
    if (top) face({lo.x, hi.y, hi.z}, {d.x, 0, 0}, {0, 0, -d.z}, d.x, d.z);
    if (bottom) face({lo.x, lo.y, lo.z}, {d.x, 0, 0}, {0, 0, d.z}, d.x, d.z);
    return m;
}

} // namespace assetgen
