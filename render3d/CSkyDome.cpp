#include "render3d/CSkyDome.h"

#include "core/Engine.h"
#include "core/Utils.h"

#include <GL/glew.h>

#include <cmath>

namespace {
const double kDegToRad = M_PI / 180.0;
} // namespace

CSkyDome::CSkyDome()
    : m_iVertexCount(0), m_fAngle(0.0f), m_fSpeed(1.0f), m_Texture(0), m_VertexBuffer(0),
      m_TexCoordBuffer(0) {}

CSkyDome::~CSkyDome() {
    ShutDown();
}

void CSkyDome::ShutDown() {
    m_Vertices.clear();
    m_Vertices.shrink_to_fit();
    m_TexCoords.clear();
    m_TexCoords.shrink_to_fit();
    m_iVertexCount = 0;
}

void CSkyDome::Normalize(float* v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) return;
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
}

void CSkyDome::ComputeTextureCoord(int iu, int iv, float* n) {
    m_TexCoords[iu] = float(std::atan2(n[0], n[2]) / (2.0 * M_PI) + 0.5);
    m_TexCoords[iv] = float(std::asin(n[1]) / M_PI + 0.5);
}

bool CSkyDome::BuildGeometry(float stepTheta, float stepPhi, float radius) {
    ShutDown();
    if (!(stepTheta >= 1.0f && stepPhi >= 1.0f)) return false;
    const int reserve = int((360.0f / stepTheta) * (90.0f / stepPhi) * 4.0f);
    m_Vertices.reserve(size_t(reserve) * 3);

    // The loops and the count formula agree only for whole steps dividing 90 and 360;
    // appending keeps any other step inside the arrays.
    const int dPhi = int(stepPhi), dTheta = int(stepTheta);
    auto append = [&](double a, double b) {
        a *= kDegToRad;
        b *= kDegToRad;
        m_Vertices.push_back(float(radius * std::sin(a) * std::cos(b)));
        m_Vertices.push_back(float(radius * std::sin(a) * std::sin(b)));
        m_Vertices.push_back(float(radius * std::cos(a)));
    };
    for (int phi = 0; phi <= 90 - stepPhi; phi += dPhi)
        for (int theta = 0; theta <= 360 - stepTheta; theta += dTheta) {
            append(phi, theta);
            append(phi + stepPhi, theta);
            append(phi, theta + stepTheta);
            append(phi + stepPhi, theta + stepTheta);
        }
    m_iVertexCount = int(m_Vertices.size() / 3);

    m_TexCoords.assign(size_t(m_iVertexCount) * 2, 0.0f);
    for (int i = 0; i < m_iVertexCount; ++i) {
        float n[3] = {m_Vertices[i * 3], m_Vertices[i * 3 + 1], m_Vertices[i * 3 + 2]};
        Normalize(n);
        ComputeTextureCoord(i * 2, i * 2 + 1, n);
    }
    return true;
}

bool CSkyDome::Initialize(float stepTheta, float stepPhi, float radius, char* textureFile) {
    if (!BuildGeometry(stepTheta, stepPhi, radius)) return false;
    m_Texture = g_Utils ? g_Utils->CreateTexture(textureFile) : 0;

    glGenBuffersARB(1, &m_VertexBuffer);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_VertexBuffer);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(m_iVertexCount) * 12, m_Vertices.data(),
                    GL_STATIC_DRAW_ARB);
    glGenBuffersARB(1, &m_TexCoordBuffer);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_TexCoordBuffer);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(m_iVertexCount) * 8, m_TexCoords.data(),
                    GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    return true;
}

void CSkyDome::Draw() {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, m_Texture);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(m_Position.x, m_Position.y, m_Position.z);
    Advance(g_Utils ? g_Utils->GetFrameInterval() : 0.0);
    glRotatef(m_fAngle, 0.0f, 1.0f, 0.0f);
    glRotatef(270.0f, 1.0f, 0.0f, 0.0f);

    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_TexCoordBuffer);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_VertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    if (m_VertexBuffer != 0) glDrawArrays(GL_TRIANGLE_STRIP, 0, m_iVertexCount);
    // Unbound again, so later client-side arrays are not read as buffer offsets.
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
}
