#pragma once
// Writers for the animated model formats. Meshes arrive in the generator's own
// convention (y up, counter-clockwise outside, v from the image top); each writer
// converts to its format's axes and winding.
#include "tools/assetgen/encoders.h"
#include "tools/assetgen/mesh.h"

#include <string>
#include <vector>

namespace assetgen {

// One animation frame: a name and one position per mesh vertex.
struct Frame {
    std::string name;
    std::vector<Vec3> positions;
};

// MD2: z up in the file and clockwise front faces, the way the engine's draw culls.
// Vertices that share a path through every frame are welded so normals come out smooth.
Bytes EncodeMd2(const Mesh& topology, const std::vector<Frame>& frames, int skinWidth,
                int skinHeight, const std::string& skinPath);

// MD3 pieces.
struct Md3Tag {
    std::string name;
    Xform frame; // in the model's y-up space, one per animation frame
};
struct Md3Surface {
    Mesh topology;                         // names the surface; positions of frame 0
    std::vector<std::vector<Vec3>> frames; // positions per frame
    std::string shader;                    // texture path stored in the file
};
// tags[f][k]: tag k of frame f.
Bytes EncodeMd3(const std::string& name, const std::vector<Md3Surface>& surfaces,
                const std::vector<std::vector<Md3Tag>>& tags, int frameCount);

// Converts the generator's y-up space to the z-up space of the Quake formats.
inline Vec3 ToZUp(const Vec3& p) {
    return {p.x, -p.z, p.y};
}

} // namespace assetgen
