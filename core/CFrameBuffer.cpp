#include "core/CFrameBuffer.h"

#include <GL/glew.h>

#include <cstddef>

CFrameBuffer::CFrameBuffer() : m_Height(0), m_Width(0) {}

CFrameBuffer::CFrameBuffer(unsigned width, unsigned height) : m_Height(0), m_Width(0) {
    Init(width, height);
}

CFrameBuffer::~CFrameBuffer() {}

void CFrameBuffer::Init(unsigned width, unsigned height) {
    // Zeroed so that pixels the tracer never reaches draw black rather than garbage.
    m_Pixels.reset(new float[std::size_t(width) * height * 3]());
    m_Width = width;
    m_Height = height;
}

void CFrameBuffer::SetPixelColor(unsigned x, unsigned y, float r, float g, float b) {
    if (x >= m_Width || y >= m_Height) return;
    float* p = m_Pixels.get() + (std::size_t(y) * m_Width + x) * 3;
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

void CFrameBuffer::DrawFrameBuffer() {
    if (!m_Pixels) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawPixels(GLsizei(m_Width), GLsizei(m_Height), GL_RGB, GL_FLOAT, m_Pixels.get());
}
