#pragma once
// A model that records what it is asked, and a mesh for the shadow-volume builders.
#include <GL/glew.h>

#include <algorithm>
#include <string>
#include <vector>

#include "math/3DMath.h"
#include "models/CEntity.h"

namespace zarvo_test {

class RecordingEntity : public CEntity {
public:
    CVector3 lastLight;
    std::vector<std::string> calls;
    std::vector<bool> flags;
    // Face culling as each call saw it (-1 when off), when `readCull` (needs GL).
    std::vector<GLint> cullFaces;
    bool readCull = false;

    void SetBox(CVector3 min, CVector3 max) { TransformModelLevelBoundingBoxCoordinates(min, max); }
    void Draw(bool textured) override { Record("Draw", textured); }
    void DrawVBONEW(bool textured) override { Record("DrawVBONEW", textured); }
    void BuildShadowVolume(CVector3 light) override {
        lastLight = light;
        Record("BuildShadowVolume");
    }
    void RenderToStencilV() override { Record("RenderToStencilV"); }
    void DrawShadowVolumeV() override { Record("DrawShadowVolumeV"); }
    void DrawBoundingBox() override { Record("DrawBoundingBox"); }

private:
    void Record(const char* name, bool flag = false) {
        calls.push_back(name);
        flags.push_back(flag);
        GLint face = -1;
        if (readCull && glIsEnabled(GL_CULL_FACE)) glGetIntegerv(GL_CULL_FACE_MODE, &face);
        cullFaces.push_back(face);
    }
};

struct TestMesh {
    std::vector<CVector3> verts;
    std::vector<tFace> faces;
    t3DObject object{};

    t3DObject& Object() {
        object = t3DObject{};
        object.numOfVerts = int(verts.size());
        object.numOfFaces = int(faces.size());
        object.pVerts = verts.data();
        object.pFaces = faces.data();
        return object;
    }
    void AddTriangle(int a, int b, int c) {
        const int index[3] = {a, b, c};
        faces.emplace_back();
        std::copy(index, index + 3, faces.back().vertIndex);
    }
};

inline TestMesh Cube() {
    TestMesh m;
    for (int i = 0; i < 8; ++i)
        m.verts.push_back(CVector3(i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f));
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads) {
        m.AddTriangle(q[0], q[1], q[2]);
        m.AddTriangle(q[0], q[2], q[3]);
    }
    return m;
}

} // namespace zarvo_test
