#pragma once
// Orthographic CPU ray caster: one ray per pixel along +z from z = -1000, coloured by the
// nearest object it hits.
#include "core/CFrameBuffer.h"
#include "math/CRay.h"

class CRayTracer {
public:
    CRayTracer();
    CRayTracer(unsigned int width, unsigned int height);

    void Init(unsigned int width, unsigned int height);
    // Renders the 3D object manager's objects into the frame buffer.
    void Trace();
    void DrawRayTracedScreen();

    // Casts every pixel's ray through the objects (pointers to anything with
    // CheckRayHit(CRay&)), in list order; a pixel that no ray hits keeps its colour.
    template <typename ObjectList> void TraceObjects(const ObjectList& objects);

    const CFrameBuffer& GetFrameBuffer() const { return m_FrameBuffer; }
    unsigned int GetWidth() const { return m_Width; }
    unsigned int GetHeight() const { return m_Height; }

private:
    CRay m_Ray;
    CFrameBuffer m_FrameBuffer;
    unsigned int m_Width;
    unsigned int m_Height;
};

template <typename ObjectList> void CRayTracer::TraceObjects(const ObjectList& objects) {
    const float kStartDepth = -1000.0f; // in front of anything in a scene
    for (unsigned int y = 0; y < m_Height; ++y) {
        for (unsigned int x = 0; x < m_Width; ++x) {
            m_Ray.ResetRay();
            m_Ray.SetOrigin(float(x), float(y), kStartDepth);
            m_Ray.SetDirection(0.0f, 0.0f, 1.0f);
            // The ray keeps only its nearest hit, so the last colour is the nearest object's.
            for (const auto& object : objects)
                object->CheckRayHit(m_Ray);
            if (m_Ray.isHit())
                m_FrameBuffer.SetPixelColor(x, y, m_Ray.GetColorR(), m_Ray.GetColorG(),
                                            m_Ray.GetColorB());
        }
    }
}
