#include "math/CRayTracer.h"

#include "core/Engine.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"

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
    if (g_3DGameObjectManager == nullptr) return;
    TraceObjects(g_3DGameObjectManager->Get3DObjects());
}

void CRayTracer::DrawRayTracedScreen() {
    m_FrameBuffer.DrawFrameBuffer();
}
