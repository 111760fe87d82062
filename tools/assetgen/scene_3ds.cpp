// The shadow-mapping demo's scene: a plaza with buildings, walls and props, as a
// 3D Studio file whose textures exercise every image reader (JPEG, TGA, BMP, PCX).
#include "tools/assetgen/content.h"
#include "tools/assetgen/encoders.h"
#include "tools/assetgen/mesh.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// The demo places the scene at (0, 51, 0) scaled (7, 15, 7); the scene is modelled in
// world units and stored in model units so that its ground lands at world y = 0.
Vec3 WorldToModel(const Vec3& w) {
    return {w.x / 7.0f, (w.y - 51.0f) / 15.0f, w.z / 7.0f};
}

struct Material {
    std::string name, texture;
    int r, g, b;
};

class ChunkWriter {
public:
    size_t Begin(uint16_t id) {
        w_.U16(id);
        size_t at = w_.Size();
        w_.U32(0);
        return at;
    }
    void End(size_t at) { w_.PatchU32(at, static_cast<uint32_t>(w_.Size() - at + 2)); }
    ByteWriter& Out() { return w_; }

private:
    ByteWriter w_;
};

Bytes Encode3ds(const std::vector<Material>& materials,
                const std::vector<std::pair<Mesh, int>>& meshes) {
    ChunkWriter c;
    size_t main = c.Begin(0x4D4D);
    size_t version = c.Begin(0x0002);
    c.Out().U32(3);
    c.End(version);
    size_t editor = c.Begin(0x3D3D);
    size_t meshVersion = c.Begin(0x3D3E); // must come first: readers take it as the mesh version
    c.Out().U32(3);
    c.End(meshVersion);
    for (const Material& m : materials) {
        size_t mat = c.Begin(0xAFFF);
        size_t name = c.Begin(0xA000);
        c.Out().CStr(m.name);
        c.End(name);
        for (uint16_t id : {0xA010, 0xA020}) {
            size_t colour = c.Begin(id);
            size_t rgb = c.Begin(0x0011);
            c.Out().U8(m.r), c.Out().U8(m.g), c.Out().U8(m.b);
            c.End(rgb);
            c.End(colour);
        }
        size_t map = c.Begin(0xA200);
        size_t file = c.Begin(0xA300);
        c.Out().CStr(m.texture);
        c.End(file);
        c.End(map);
        c.End(mat);
    }
    for (const auto& [mesh, materialIndex] : meshes) {
        size_t object = c.Begin(0x4000);
        c.Out().CStr(mesh.name);
        size_t tri = c.Begin(0x4100);
        size_t verts = c.Begin(0x4110);
        c.Out().U16(static_cast<uint32_t>(mesh.vertices.size()));
        for (const Vertex& v : mesh.vertices) {
            Vec3 p = WorldToModel(v.position);
            c.Out().F32(p.x), c.Out().F32(p.y), c.Out().F32(p.z);
        }
        c.End(verts);
        size_t uvs = c.Begin(0x4140);
        c.Out().U16(static_cast<uint32_t>(mesh.vertices.size()));
        for (const Vertex& v : mesh.vertices)
            c.Out().F32(v.uv.u), c.Out().F32(1.0f - v.uv.v); // v up in 3DS
        c.End(uvs);
        size_t faces = c.Begin(0x4120);
        c.Out().U16(static_cast<uint32_t>(mesh.triangles.size()));
        for (const auto& t : mesh.triangles)
            c.Out().U16(t[0]), c.Out().U16(t[1]), c.Out().U16(t[2]), c.Out().U16(7);
        size_t group = c.Begin(0x4130);
        c.Out().CStr(materials[materialIndex].name);
        c.Out().U16(static_cast<uint32_t>(mesh.triangles.size()));
        for (size_t i = 0; i < mesh.triangles.size(); ++i)
            c.Out().U16(static_cast<uint32_t>(i));
        c.End(group);
        c.End(faces);
        c.End(tri);
        c.End(object);
    }
    c.End(editor);
    c.End(main);
    return std::move(c.Out().Data());
}

// A flat rectangle facing up, texture repeating every `tile` units.
Mesh Ground(float x0, float z0, float x1, float z1, float y, float tile) {
    Mesh m;
    int a = m.Add({x0, y, z1}, {x0 / tile, z1 / tile}),
        b = m.Add({x1, y, z1}, {x1 / tile, z1 / tile});
    int c = m.Add({x1, y, z0}, {x1 / tile, z0 / tile}),
        d = m.Add({x0, y, z0}, {x0 / tile, z0 / tile});
    m.Quad(a, b, c, d);
    return m;
}

Mesh Cylinder(const Vec3& base, float radius, float height, int segments, float uRepeat,
              bool capTop = true) {
    Mesh m = Tube(height, {{radius, radius}, {radius, radius}}, segments, UvRect{0, 0, uRepeat, 1},
                  false, capTop);
    m.Transform(Xform::Translate(base));
    return m;
}

// ---- Textures ----

Canvas Grass(int size) {
    Noise n(11);
    return PaintSquare(size, [&](float u, float v) {
        float patches = n.Fbm(u * 4, v * 4, 4, 4), blades = n.Value(u * 128, v * 128, 128);
        Color col = Mix(Rgb(58, 92, 34), Rgb(104, 130, 52), patches);
        col = Mix(col, Rgb(120, 104, 62),
                  SmoothStep(0.62f, 0.8f, n.Fbm(u * 3 + 7, v * 3, 3, 3)) * 0.6f);
        return Scale(col, 0.8f + 0.35f * blades);
    });
}

Canvas Paving(int size) {
    Canvas c(size, size);
    Noise n(12);
    const int stones = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = static_cast<float>(x) * stones / size,
                  fy = static_cast<float>(y) * stones / size;
            int row = static_cast<int>(fy);
            float sx = fx + (row % 2) * 0.5f; // staggered courses
            int col = static_cast<int>(std::floor(sx)) % stones;
            float ex = sx - std::floor(sx), ey = fy - row;
            float edge = std::min(std::min(ex, 1 - ex), std::min(ey, 1 - ey));
            float tint = n.Hash(col, row);
            Color stone = Mix(Rgb(150, 142, 128), Rgb(186, 176, 158), tint);
            stone = Scale(stone, 0.85f + 0.2f * n.Fbm(fx * 4, fy * 4, stones * 4, 4));
            stone = Scale(stone, 0.85f + 0.15f * SmoothStep(0.02f, 0.1f, edge)); // bevel
            c.At(x, y) = Mix(Rgb(70, 66, 60), stone, SmoothStep(0.015f, 0.035f, edge));
        }
    return c;
}

Canvas Concrete(int size) {
    Noise n(13);
    return PaintSquare(size, [&](float u, float v) {
        float k = 0.8f + 0.15f * n.Fbm(u * 8, v * 8, 8, 5) + 0.08f * n.Value(u * 200, v * 200, 200);
        Color col = Scale(Rgb(168, 166, 160), k);
        col =
            Mix(col, Rgb(110, 104, 96), SmoothStep(0.6f, 0.85f, n.Fbm(u * 2, v * 2, 2, 4)) * 0.5f);
        return col;
    });
}

Canvas Facade(int size) {
    // Two window bays by two floors; tiles seamlessly.
    Noise n(14);
    Canvas c = PaintSquare(size, [&](float u, float v) {
        return Scale(Rgb(196, 170, 134), 0.85f + 0.2f * n.Fbm(u * 8, v * 8, 8, 4));
    });
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 2; ++bx) {
            float x0 = (bx * 0.5f + 0.12f) * size, x1 = (bx * 0.5f + 0.38f) * size;
            float y0 = (by * 0.5f + 0.1f) * size, y1 = (by * 0.5f + 0.36f) * size;
            c.FillRect(x0 - 4, y0 - 4, x1 + 4, y1 + 4, Rgb(228, 222, 208)); // frame
            for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y)
                for (int x = static_cast<int>(x0); x < static_cast<int>(x1); ++x) {
                    float t = (y - y0) / (y1 - y0), s = (x - x0) / (x1 - x0);
                    Color glass = Mix(Rgb(150, 186, 214), Rgb(40, 60, 84), t); // sky reflection
                    glass = Mix(glass, Rgb(230, 240, 250),
                                0.5f * Clamp01(1 - std::fabs(s + t - 0.7f) * 8));
                    c.At(x, y) = glass;
                }
            c.FillRect((x0 + x1) / 2 - 2, y0, (x0 + x1) / 2 + 2, y1, Rgb(228, 222, 208)); // mullion
            c.FillRect(x0, y0 + (y1 - y0) * 0.35f - 2, x1, y0 + (y1 - y0) * 0.35f + 2,
                       Rgb(228, 222, 208));
            c.FillRect(x0 - 7, y1 + 4, x1 + 7, y1 + 10, Rgb(150, 140, 124)); // sill
            c.FillRect(x0 - 7, y1 + 10, x1 + 7, y1 + 13, Rgb(90, 80, 70, 0.5f));
        }
    for (int k = 0; k < 2; ++k)
        c.FillRect(0, (k * 0.5f + 0.47f) * size, size, (k * 0.5f + 0.5f) * size,
                   Rgb(170, 146, 112)); // floor band
    return c;
}

Canvas Roof(int size) {
    Noise n(15);
    return PaintSquare(size, [&](float u, float v) {
        float gravel = n.Value(u * 96, v * 96, 96), stain = n.Fbm(u * 3, v * 3, 3, 4);
        return Scale(Mix(Rgb(92, 90, 88), Rgb(60, 58, 62), stain), 0.75f + 0.4f * gravel);
    });
}

Canvas Brick(int size) {
    Canvas c(size, size);
    Noise n(16);
    const int rows = 8, cols = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fy = static_cast<float>(y) * rows / size;
            int row = static_cast<int>(fy);
            float fx = static_cast<float>(x) * cols / size + (row % 2) * 0.5f;
            int col = static_cast<int>(std::floor(fx)) % cols;
            float ex = fx - std::floor(fx), ey = fy - row;
            float edge = std::min(std::min(ex, 1 - ex) * 2.0f,
                                  std::min(ey, 1 - ey)); // bricks are twice as wide as tall
            Color brick = Mix(Rgb(142, 58, 40), Rgb(178, 92, 60), n.Hash(col, row));
            brick = Scale(brick, 0.8f + 0.3f * n.Fbm(fx * 6, fy * 3, 0, 3));
            c.At(x, y) = Mix(Rgb(196, 190, 176), brick, SmoothStep(0.05f, 0.1f, edge));
        }
    return c;
}

Canvas Crate(int size) {
    Noise n(17);
    Canvas c = PaintSquare(size, [&](float u, float v) {
        float grain = n.Value(u * 6, v * 90, 0) * 0.6f + n.Value(u * 30, v * 400, 0) * 0.4f;
        float plank = std::fmod(u * 5, 1.0f);
        Color col = Scale(Rgb(176, 128, 72), 0.75f + 0.35f * grain);
        if (plank < 0.03f) col = Scale(col, 0.5f);
        return col;
    });
    // Frame and diagonal brace.
    Color frame = Rgb(132, 92, 50);
    float b = size * 0.1f;
    c.FillRect(0, 0, size, b, frame), c.FillRect(0, size - b, size, size, frame);
    c.FillRect(0, 0, b, size, frame), c.FillRect(size - b, 0, size, size, frame);
    c.Line(b, size - b, size - b, b, b * 0.9f, frame);
    for (float k : {0.0f, 1.0f}) {
        c.FillRect(0, k * (size - b), size, k * (size - b) + 2, Rgb(70, 48, 26));
        c.FillRect(k * (size - b), 0, k * (size - b) + 2, size, Rgb(70, 48, 26));
    }
    for (float px : {b / 2, size - b / 2})
        for (float py : {b / 2, size - b / 2})
            c.FillCircle(px, py, 3, Rgb(60, 60, 64));
    return c;
}

Canvas Barrel(int size) {
    Noise n(18);
    return PaintSquare(size, [&](float u, float v) {
        Color col = Scale(Rgb(160, 40, 32), 0.85f + 0.15f * n.Value(u * 20, v * 200, 20));
        float rib = std::min(std::fabs(v - 0.33f), std::fabs(v - 0.66f));
        if (rib < 0.02f) col = Scale(col, 1.2f - 8 * rib);
        if (v < 0.04f || v > 0.96f) col = Rgb(90, 90, 94);
        float rust = SmoothStep(0.6f, 0.8f, n.Fbm(u * 6, v * 6, 6, 4));
        col = Mix(col, Rgb(110, 62, 30), rust * 0.8f);
        if (u > 0.4f && u < 0.6f && v > 0.42f && v < 0.58f) col = Rgb(230, 200, 40); // hazard label
        return col;
    });
}

} // namespace

void WriteScene3ds(const std::string& root) {
    const std::string dir = "Data/Models/demo/";
    const std::vector<Material> materials = {
        {"Grass", "grass.jpg", 90, 120, 50},
        {"Paving", "paving.tga", 170, 160, 145},
        {"Concrete", "concrete.jpg", 165, 162, 156},
        {"Facade", "facade.bmp", 196, 170, 134},
        {"Roof", "roof.pcx", 80, 78, 78},
        {"Brick", "brick.pcx", 160, 76, 52},
        {"Crate", "crate.tga", 170, 124, 70},
        {"Barrel", "barrel.bmp", 150, 44, 34},
    };
    enum { kGrass, kPaving, kConcrete, kFacade, kRoof, kBrick, kCrate, kBarrel };
    std::vector<std::pair<Mesh, int>> meshes;
    auto add = [&](const std::string& name, Mesh m, int material) {
        m.name = name;
        meshes.push_back({std::move(m), material});
    };

    const float plaza = 72, far = 420;
    Mesh ground = Ground(-far, -far, far, -plaza, 0, 40);
    ground.Append(Ground(-far, plaza, far, far, 0, 40));
    ground.Append(Ground(-far, -plaza, -plaza, plaza, 0, 40));
    ground.Append(Ground(plaza, -plaza, far, plaza, 0, 40));
    add("Ground", ground, kGrass);
    add("Plaza", Ground(-plaza, -plaza, plaza, plaza, 0, 24), kPaving);

    Mesh curb;
    for (int side = 0; side < 4; ++side) {
        float a = -plaza - 3, b = plaza + 3;
        Vec3 lo =
            side < 2 ? Vec3{a, 0, side == 0 ? a : plaza} : Vec3{side == 2 ? a : plaza, 0, -plaza};
        Vec3 hi = side < 2 ? Vec3{b, 1.2f, side == 0 ? -plaza : b}
                           : Vec3{side == 2 ? -plaza : b, 1.2f, plaza};
        curb.Append(TiledBox(lo, hi, 20));
    }
    add("Curb", curb, kConcrete);

    struct Block {
        const char* name;
        Vec3 lo, hi;
    };
    const Block blocks[] = {
        {"BuildingA", {-170, 0, -150}, {-108, 72, -30}},
        {"BuildingB", {-100, 0, -175}, {-20, 96, -112}},
        {"BuildingC", {-12, 0, -165}, {70, 60, -118}},
        {"BuildingD", {-160, 0, -18}, {-112, 48, 70}},
    };
    Mesh roofs;
    for (const Block& b : blocks) {
        add(b.name, TiledBox(b.lo, b.hi, 24, false), kFacade);
        roofs.Append(Ground(b.lo.x, b.lo.z, b.hi.x, b.hi.z, b.hi.y, 30));
        // Parapet around the roof edge.
        roofs.Append(TiledBox({b.lo.x, b.hi.y, b.lo.z}, {b.hi.x, b.hi.y + 2, b.lo.z + 1.5f}, 30));
        roofs.Append(TiledBox({b.lo.x, b.hi.y, b.hi.z - 1.5f}, {b.hi.x, b.hi.y + 2, b.hi.z}, 30));
        roofs.Append(TiledBox({b.lo.x, b.hi.y, b.lo.z}, {b.lo.x + 1.5f, b.hi.y + 2, b.hi.z}, 30));
        roofs.Append(TiledBox({b.hi.x - 1.5f, b.hi.y, b.lo.z}, {b.hi.x, b.hi.y + 2, b.hi.z}, 30));
    }
    add("Roofs", roofs, kRoof);

    add("WallWest", TiledBox({-70, 0, -66}, {-66, 9, 14}, 18), kBrick);
    add("WallNorth", TiledBox({-40, 0, -70}, {46, 9, -66}, 18), kBrick);
    add("Planter", Cylinder({-8, 0, -38}, 11, 3.5f, 20, 4, false), kConcrete);
    Mesh soil;
    {
        const int seg = 20;
        int centre = soil.Add({-8, 3.3f, -38}, {0.5f, 0.5f});
        for (int s = 0; s <= seg; ++s) {
            float a = 2 * kPi * s / seg;
            soil.Add({-8 + 10.6f * std::cos(a), 3.3f, -38 + 10.6f * std::sin(a)},
                     {0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)});
        }
        for (int s = 0; s < seg; ++s)
            soil.Triangle(centre, centre + 2 + s, centre + 1 + s);
    }
    add("PlanterSoil", soil, kGrass);

    Mesh lamps;
    for (const auto& p : {Vec3{5, 0, -25}, Vec3{45, 0, 10}, Vec3{-50, 0, 40}, Vec3{-5, 0, 62}}) {
        lamps.Append(Cylinder(p, 1.2f, 2, 10, 1));                                          // foot
        lamps.Append(Cylinder(p + Vec3{0, 2, 0}, 0.6f, 26, 8, 1));                          // post
        lamps.Append(TiledBox(p + Vec3{-0.5f, 26.5f, -0.5f}, p + Vec3{6, 27.5f, 0.5f}, 8)); // arm
        lamps.Append(TiledBox(p + Vec3{4, 24.5f, -1.6f}, p + Vec3{8, 26.5f, 1.6f}, 8, true,
                              true)); // lantern
    }
    add("LampPosts", lamps, kConcrete);
    Mesh benches;
    for (const auto& p : {Vec3{-22, 0, 52}, Vec3{30, 0, -45}}) {
        benches.Append(
            TiledBox(p + Vec3{-8, 3.2f, -2}, p + Vec3{8, 4.2f, 2}, 16, true, true)); // seat
        benches.Append(TiledBox(p + Vec3{-8, 4.2f, 1.4f}, p + Vec3{8, 8, 2}, 16));   // back
        for (float x : {-6.5f, 6.5f})
            benches.Append(
                TiledBox(p + Vec3{x - 0.6f, 0, -1.6f}, p + Vec3{x + 0.6f, 3.2f, 1.6f}, 16));
    }
    add("Benches", benches, kCrate);

    Mesh crates;
    const float crateSpots[][4] = {{-56, 0, -52, 10}, {-45, 0, -54, 10}, {-51, 10, -53, 10},
                                   {-58, 0, -40, 8},  {48, 0, -52, 9},   {50, 0, -40, 7},
                                   {48, 9, -50, 7}};
    for (const auto& s : crateSpots) {
        // A cube tiled by its own size: every face shows the whole crate side.
        Mesh box = TiledBox({-s[3] / 2, 0, -s[3] / 2}, {s[3] / 2, s[3], s[3] / 2}, s[3]);
        box.Transform(Xform::Translate({s[0], s[1], s[2]}));
        crates.Append(box);
    }
    add("Crates", crates, kCrate);
    Mesh barrels;
    for (const auto& p : {Vec3{-60, 0, -22}, Vec3{-61, 0, -13}, Vec3{-53, 0, -18}, Vec3{36, 0, -58},
                          Vec3{58, 0, 30}})
        barrels.Append(Cylinder(p, 3.4f, 10, 14, 1));
    add("Barrels", barrels, kBarrel);

    WriteFile(root, dir + "26_okolie.3DS", Encode3ds(materials, meshes));
    WriteFile(root, dir + "grass.jpg", EncodeJpeg(Grass(256)));
    WriteFile(root, dir + "concrete.jpg", EncodeJpeg(Concrete(256)));
    WriteFile(root, dir + "paving.tga", EncodeTga(Paving(256), false));
    WriteFile(root, dir + "crate.tga", EncodeTga(Crate(128), false));
    WriteFile(root, dir + "facade.bmp", EncodeBmp(Facade(256)));
    WriteFile(root, dir + "barrel.bmp", EncodeBmp(Barrel(128)));
    WriteFile(root, dir + "roof.pcx", EncodePcx(Roof(128)));
    WriteFile(root, dir + "brick.pcx", EncodePcx(Brick(256)));
}

} // namespace assetgen
