#include "tools/assetgen/model_formats.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>

namespace assetgen {

namespace {

void Bounds(const std::vector<Vec3>& points, Vec3& lo, Vec3& hi) {
    lo = {1e30f, 1e30f, 1e30f};
    hi = {-1e30f, -1e30f, -1e30f};
    for (const Vec3& p : points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}

// Smooth normals of one frame, area weighted, in the generator's space.
std::vector<Vec3> VertexNormals(const Mesh& topology, const std::vector<Vec3>& positions) {
    std::vector<Vec3> normals(positions.size());
    for (const auto& t : topology.triangles) {
        Vec3 n = Cross(positions[t[1]] - positions[t[0]], positions[t[2]] - positions[t[0]]);
        for (int k = 0; k < 3; ++k)
            normals[t[k]] = normals[t[k]] + n;
    }
    for (Vec3& n : normals)
        n = Normalized(n);
    return normals;
}

} // namespace

Bytes EncodeMd2(const Mesh& topology, const std::vector<Frame>& frames, int skinWidth,
                int skinHeight, const std::string& skinPath) {
    if (frames.empty()) throw std::runtime_error("MD2 needs at least one frame");
    // Weld vertices whose positions agree in every frame.
    std::map<std::vector<float>, int> weld;
    std::vector<int> vertexToXyz(topology.vertices.size());
    std::vector<int> xyzSource;
    for (size_t v = 0; v < topology.vertices.size(); ++v) {
        std::vector<float> key;
        key.reserve(frames.size() * 3);
        for (const Frame& f : frames)
            key.insert(key.end(), {f.positions[v].x, f.positions[v].y, f.positions[v].z});
        auto [it, inserted] = weld.emplace(std::move(key), static_cast<int>(xyzSource.size()));
        if (inserted) xyzSource.push_back(static_cast<int>(v));
        vertexToXyz[v] = it->second;
    }
    // Texture coordinates in skin pixels, shared when equal.
    std::map<std::pair<int, int>, int> stIndex;
    std::vector<std::pair<int, int>> st;
    std::vector<int> vertexToSt(topology.vertices.size());
    for (size_t v = 0; v < topology.vertices.size(); ++v) {
        std::pair<int, int> key{
            static_cast<int>(std::lround(topology.vertices[v].uv.u * skinWidth)),
            static_cast<int>(std::lround(topology.vertices[v].uv.v * skinHeight))};
        auto [it, inserted] = stIndex.emplace(key, static_cast<int>(st.size()));
        if (inserted) st.push_back(key);
        vertexToSt[v] = it->second;
    }
    int numXyz = static_cast<int>(xyzSource.size());
    if (numXyz > 2048) throw std::runtime_error("MD2 frame too large");
    int frameSize = 40 + 4 * numXyz;
    int numTris = static_cast<int>(topology.triangles.size());
    int ofsSkins = 68, ofsSt = ofsSkins + 64, ofsTris = ofsSt + 4 * static_cast<int>(st.size());
    // The GL command list is a lone terminator after the frames.
    int ofsFrames = ofsTris + 12 * numTris;
    int ofsGlCmds = ofsFrames + frameSize * static_cast<int>(frames.size());
    int ofsEnd = ofsGlCmds + 4;

    ByteWriter w;
    w.U8('I'), w.U8('D'), w.U8('P'), w.U8('2');
    for (int v :
         {8, skinWidth, skinHeight, frameSize, 1, numXyz, static_cast<int>(st.size()), numTris, 1,
          static_cast<int>(frames.size()), ofsSkins, ofsSt, ofsTris, ofsFrames, ofsGlCmds, ofsEnd})
        w.I32(v);
    w.Str(skinPath, 64);
    for (const auto& p : st)
        w.I16(p.first), w.I16(p.second);
    for (const auto& t : topology.triangles) {
        // Reversed: the engine culls counter-clockwise faces of MD2 models.
        int order[3] = {t[0], t[2], t[1]};
        for (int k : order)
            w.I16(vertexToXyz[k]);
        for (int k : order)
            w.I16(vertexToSt[k]);
    }
    for (const Frame& f : frames) {
        std::vector<Vec3> pts(numXyz);
        for (int i = 0; i < numXyz; ++i)
            pts[i] = ToZUp(f.positions[xyzSource[i]]);
        Vec3 lo, hi;
        Bounds(pts, lo, hi);
        Vec3 scale{std::max((hi.x - lo.x) / 255.0f, 1e-4f), std::max((hi.y - lo.y) / 255.0f, 1e-4f),
                   std::max((hi.z - lo.z) / 255.0f, 1e-4f)};
        w.F32(scale.x), w.F32(scale.y), w.F32(scale.z);
        w.F32(lo.x), w.F32(lo.y), w.F32(lo.z);
        w.Str(f.name, 16);
        for (const Vec3& p : pts) {
            auto q = [](float v, float o, float s) {
                return static_cast<uint32_t>(std::clamp<long>(std::lround((v - o) / s), 0, 255));
            };
            w.U8(q(p.x, lo.x, scale.x)), w.U8(q(p.y, lo.y, scale.y)), w.U8(q(p.z, lo.z, scale.z));
            w.U8(0); // normal index: readers recompute normals
        }
    }
    w.I32(0); // GL command terminator
    return std::move(w.Data());
}

Bytes EncodeMd3(const std::string& name, const std::vector<Md3Surface>& surfaces,
                const std::vector<std::vector<Md3Tag>>& tags, int frameCount) {
    int numTags = tags.empty() ? 0 : static_cast<int>(tags[0].size());
    ByteWriter w;
    w.U8('I'), w.U8('D'), w.U8('P'), w.U8('3');
    w.I32(15);
    w.Str(name, 64);
    w.I32(0); // flags
    w.I32(frameCount), w.I32(numTags), w.I32(static_cast<int>(surfaces.size())), w.I32(0);
    int ofsFrames = 108, ofsTags = ofsFrames + 56 * frameCount;
    int ofsSurfaces = ofsTags + 112 * numTags * frameCount;
    w.I32(ofsFrames), w.I32(ofsTags), w.I32(ofsSurfaces);
    size_t eofAt = w.Size();
    w.I32(0);
    for (int f = 0; f < frameCount; ++f) {
        std::vector<Vec3> all;
        for (const Md3Surface& s : surfaces)
            for (const Vec3& p : s.frames[f])
                all.push_back(ToZUp(p));
        Vec3 lo{0, 0, 0}, hi{0, 0, 0};
        if (!all.empty()) Bounds(all, lo, hi);
        w.F32(lo.x), w.F32(lo.y), w.F32(lo.z), w.F32(hi.x), w.F32(hi.y), w.F32(hi.z);
        w.F32(0), w.F32(0), w.F32(0);
        w.F32(std::max(Length(lo), Length(hi)));
        w.Str("frame" + std::to_string(f), 16);
    }
    for (int f = 0; f < frameCount; ++f)
        for (const Md3Tag& tag : tags[f]) {
            w.Str(tag.name, 64);
            Vec3 o = ToZUp(tag.frame.t);
            w.F32(o.x), w.F32(o.y), w.F32(o.z);
            for (const Vec3& axis : {tag.frame.x, tag.frame.z * -1.0f, tag.frame.y}) {
                // The tag's axes in z-up space: x stays, y-up space -z becomes y, +y becomes z.
                Vec3 a = ToZUp(axis);
                w.F32(a.x), w.F32(a.y), w.F32(a.z);
            }
        }
    for (const Md3Surface& s : surfaces) {
        size_t start = w.Size();
        int numVerts = static_cast<int>(s.topology.vertices.size());
        int numTris = static_cast<int>(s.topology.triangles.size());
        int ofsShaders = 108, ofsTris = ofsShaders + 68, ofsSt = ofsTris + 12 * numTris;
        int ofsXyz = ofsSt + 8 * numVerts, ofsEnd = ofsXyz + 8 * numVerts * frameCount;
        w.U8('I'), w.U8('D'), w.U8('P'), w.U8('3');
        w.Str(s.topology.name, 64);
        w.I32(0);
        for (int v : {frameCount, 1, numVerts, numTris, ofsTris, ofsShaders, ofsSt, ofsXyz, ofsEnd})
            w.I32(v);
        w.Str(s.shader, 64);
        w.I32(0);
        for (const auto& t : s.topology.triangles)
            w.I32(t[0]), w.I32(t[2]), w.I32(t[1]);
        for (const Vertex& v : s.topology.vertices)
            w.F32(v.uv.u), w.F32(v.uv.v);
        for (int f = 0; f < frameCount; ++f) {
            std::vector<Vec3> normals = VertexNormals(s.topology, s.frames[f]);
            for (int v = 0; v < numVerts; ++v) {
                Vec3 p = ToZUp(s.frames[f][v]);
                for (float c : {p.x, p.y, p.z})
                    w.I16(
                        static_cast<int>(std::clamp<long>(std::lround(c * 64.0f), -32768, 32767)));
                Vec3 n = ToZUp(normals[v]);
                float scale = 255.0f / (2 * kPi);
                int lat =
                    static_cast<int>(std::lround(std::acos(std::clamp(n.z, -1.0f, 1.0f)) * scale)) &
                    0xFF;
                int lng = static_cast<int>(std::lround(std::atan2(n.y, n.x) * scale)) & 0xFF;
                w.U8(lat), w.U8(lng);
            }
        }
        if (w.Size() - start != static_cast<size_t>(ofsEnd))
            throw std::runtime_error("MD3 surface size mismatch");
    }
    w.PatchU32(eofAt, static_cast<uint32_t>(w.Size()));
    return std::move(w.Data());
}

} // namespace assetgen
