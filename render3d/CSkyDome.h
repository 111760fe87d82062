#pragma once
// A textured hemisphere around a point that slowly turns about the vertical axis: the sky
// backdrop. The geometry is generated once from angular steps and kept in two vertex
// buffers; the whole dome is drawn as one triangle strip.
#include "math/3DMath.h"

#include <vector>

class CSkyDome {
public:
    CSkyDome();
    ~CSkyDome();
    CSkyDome(const CSkyDome&) = delete;
    CSkyDome& operator=(const CSkyDome&) = delete;

    // Builds the geometry, loads the texture and fills the buffers. Steps below one degree
    // are refused (false): the whole-degree loops would never end.
    bool Initialize(float stepTheta, float stepPhi, float radius, char* textureFile);
    // The geometry part of Initialize, without GL.
    bool BuildGeometry(float stepTheta, float stepPhi, float radius);
    // Turns by speed x frame interval and draws.
    void Draw();
    // Adds speed x seconds to the rotation angle.
    void Advance(double seconds) { m_fAngle += float(m_fSpeed * seconds); }

    void SetPosition(CVector3 p) { m_Position = p; }
    void SetPosition(float x, float y, float z) { m_Position = CVector3(x, y, z); }
    void SetSpeed(float speed) { m_fSpeed = speed; }
    float GetSpeed() const { return m_fSpeed; }
    float GetAngle() const { return m_fAngle; }
    int GetVertexCount() const { return m_iVertexCount; }
    const float* GetVertices() const { return m_Vertices.data(); }
    const float* GetTextureCoords() const { return m_TexCoords.data(); }

    // Releases the arrays; the GL buffers and the texture stay.
    void ShutDown();

    static void Normalize(float* v);
    // u = atan2(n.x, n.z) / 2 pi + 0.5 at index iu, v = asin(n.y) / pi + 0.5 at index iv.
    void ComputeTextureCoord(int iu, int iv, float* n);

private:
    std::vector<float> m_Vertices;
    std::vector<float> m_TexCoords;
    int m_iVertexCount;
    float m_fAngle;
    CVector3 m_Position;
    float m_fSpeed;
    unsigned int m_Texture;
    unsigned int m_VertexBuffer;
    unsigned int m_TexCoordBuffer;
};
