#include "math/CRayTracer.h"

CRayTracer::CRayTracer() : m_Width(0), m_Height(0) {}

CRayTracer::CRayTracer(unsigned int width, unsigned int height) : m_Width(0), m_Height(0) {
    Init(width, height);
}

void CRayTracer::Init(unsigned int width, unsigned int height) {
    m_FrameBuffer.Init(width, height);
    m_Width = width;
    m_Height = height;
}

void CRayTracer::Trace() {
    // The scene lives in the 3D object manager; this becomes
    // TraceObjects(g_3DGameObjectManager->Get3DObjects()) once that manager exists.
}

void CRayTracer::DrawRayTracedScreen() {
    m_FrameBuffer.DrawFrameBuffer();
}
