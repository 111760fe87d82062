#pragma once
// A model that records what the object layer asks of it, for testing the per-kind
// dispatch without loading a real file.
#include <GL/glew.h>

#include <string>
#include <vector>

#include "math/3DMath.h"
#include "models/CEntity.h"

namespace zarvo_test {

class RecordingEntity : public CEntity {
public:
    struct Call {
        std::string name;
        bool flag = false;
        // Face-culling state seen from inside a draw call.
        bool cullEnabled = false;
        GLint cullFace = 0;
    };

    int vertexNum = 0;
    CVector3 lastLight;
    std::vector<Call> calls;
    // Set to read the culling state during draws (needs a GL context).
    bool readCullState = false;

    void SetBox(CVector3 min, CVector3 max) { TransformModelLevelBoundingBoxCoordinates(min, max); }

    void SetPosition(float x, float y, float z) override {
        m_vPosition = CVector3(x, y, z);
        Record("SetPosition");
    }
    void SetSize(float x, float y, float z) override {
        m_vSize = CVector3(x, y, z);
        Record("SetSize");
    }
    void Draw(bool textured) override { Record("Draw", textured); }
    void DrawVBONEW(bool textured) override { Record("DrawVBONEW", textured); }
    void BuildShadowVolume(CVector3 light) override {
        lastLight = light;
        Record("BuildShadowVolume");
    }
    void RenderToStencilV() override { Record("RenderToStencilV"); }
    void DrawShadowVolumeV() override { Record("DrawShadowVolumeV"); }
    void DrawBoundingBox() override { Record("DrawBoundingBox"); }
    int GetModelVertexNum() override { return vertexNum; }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Call& c : calls)
            names.push_back(c.name);
        return names;
    }

private:
    void Record(const char* name, bool flag = false) {
        Call call;
        call.name = name;
        call.flag = flag;
        if (readCullState) {
            call.cullEnabled = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
            glGetIntegerv(GL_CULL_FACE_MODE, &call.cullFace);
        }
        calls.push_back(call);
    }
};

} // namespace zarvo_test
