#include "gui/CFont.h"

#include "core/Engine.h"
#include "render3d/CShader.h"
#include "render3d/CShaderManager.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace font_layout {

void GlyphCorners(int glyph, sGlyphCorner out[4]) {
    const float cell = 1.0f / 16.0f;
    const float cx = float(glyph % 16) / 16.0f;
    const float cy = float(glyph / 16) / 16.0f;
    out[0] = {cx, 1.0f - cy - cell, 0.0f, kGlyphSize};
    out[1] = {cx + cell, 1.0f - cy - cell, kGlyphSize, kGlyphSize};
    out[2] = {cx + cell, 1.0f - cy - 0.001f, kGlyphSize, 0.0f};
    out[3] = {cx, 1.0f - cy - 0.001f, 0.0f, 0.0f};
}

SetStyle ResolveSet(char set) {
    const int s = static_cast<unsigned char>(set) > 3 ? 3 : set;
    return s >= 2 ? SetStyle{s - 2, true} : SetStyle{s, false};
}

bool FormatText(char* buffer, int size, const char* fmt, va_list args) {
    buffer[0] = '\0';
    if (!fmt) return false;
    // vsnprintf stops at the buffer's end: longer text is cut, never written past it.
    if (std::vsnprintf(buffer, size_t(size), fmt, args) < 0) buffer[0] = '\0';
    return true;
}

} // namespace font_layout

CFont::CFont() = default;

CFont::~CFont() {
    KillFont();
}

bool CFont::BuildFont(char* file) {
    if (!m_Image.LoadTGA(file)) {
        // Without its image the font cannot draw anything the program relies on.
        std::fprintf(stderr, "Cannot load font image: %s\n", file ? file : "(null)");
        SDL_Quit();
        std::exit(EXIT_FAILURE);
    }
    m_ListBase = glGenLists(font_layout::kGlyphCount);
    glBindTexture(GL_TEXTURE_2D, GetTextureName());
    for (int g = 0; g < font_layout::kGlyphCount; ++g) {
        sGlyphCorner corners[4];
        font_layout::GlyphCorners(g, corners);
        glNewList(m_ListBase + g, GL_COMPILE);
        glBegin(GL_QUADS);
        for (const sGlyphCorner& c : corners) {
            glTexCoord2f(c.u, c.v);
            glVertex2f(c.x, c.y);
        }
        glEnd();
        glTranslatef(font_layout::kAdvance, 0.0f, 0.0f);
        glEndList();
    }
    m_Shader =
        g_ShaderManager ? g_ShaderManager->getDefaultShaders(SHADER_SIMPLE_TEXTURE) : nullptr;
    m_Built = true;
    return true;
}

bool CFont::KillFont() {
    if (m_ListBase != 0) glDeleteLists(m_ListBase, font_layout::kGlyphCount);
    m_ListBase = 0;
    m_Built = false;
    return true;
}

bool CFont::SetSize(float x, float y) {
    m_ScaleX = x;
    m_ScaleY = y;
    return true;
}

void CFont::SetFontColor(float r, float g, float b, float a) {
    m_Color = Color{r, b, g, a};
}

unsigned int CFont::GetTextureName() const {
    return m_Image.texID;
}

bool CFont::PrintText(int x, int y, char set, const char* fmt, ...) {
    va_list list;
    va_start(list, fmt);
    Print({float(x), float(y), set, m_Color.r, m_Color.g, m_Color.b, m_Color.a, m_ScaleX, m_ScaleY,
           false},
          fmt, list);
    va_end(list);
    return true;
}

bool CFont::PrintText(CVector2 pos, char set, const char* fmt, ...) {
    va_list list;
    va_start(list, fmt);
    Print({pos.x, pos.y, set, m_Color.r, m_Color.g, m_Color.b, m_Color.a, m_ScaleX, m_ScaleY, true},
          fmt, list);
    va_end(list);
    return true;
}

bool CFont::PrintText(int x, int y, char set, float r, float g, float b, const char* fmt, ...) {
    va_list list;
    va_start(list, fmt);
    Print({float(x), float(y), set, r, g, b, 1.0f, m_ScaleX, m_ScaleY, false}, fmt, list);
    va_end(list);
    return true;
}

bool CFont::PrintText(int x, int y, char set, float r, float g, float b, float a, float scaleX,
                      float scaleY, const char* fmt, ...) {
    va_list list;
    va_start(list, fmt);
    Print({float(x), float(y), set, r, g, b, a, scaleX, scaleY, false}, fmt, list);
    va_end(list);
    return true;
}

bool CFont::Print(const DrawArgs& args, const char* fmt, va_list list) {
    // A null format, or a font that was never built, draws nothing and touches no GL state.
    if (!font_layout::FormatText(m_Text, sizeof m_Text, fmt, list) || !m_Built) return true;

    const GLboolean texture = glIsEnabled(GL_TEXTURE_2D);
    const GLboolean depth = glIsEnabled(GL_DEPTH_TEST);
    const GLboolean lighting = glIsEnabled(GL_LIGHTING);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    const GLboolean blend = glIsEnabled(GL_BLEND);
    GLint matrixMode = 0, viewport[4] = {0, 0, 0, 0}, blendSrc = 0, blendDst = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_BLEND_SRC, &blendSrc);
    glGetIntegerv(GL_BLEND_DST, &blendDst);

    if (depth) glDisable(GL_DEPTH_TEST);
    if (!texture) glEnable(GL_TEXTURE_2D);
    if (!blend) glEnable(GL_BLEND);
    if (!scissor) glEnable(GL_SCISSOR_TEST);
    if (lighting) glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], viewport[3], 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, GetTextureName());

    const font_layout::SetStyle style = font_layout::ResolveSet(args.set);
    DrawPass(args, style.glyphSet, args.x, false);
    if (style.bold) DrawPass(args, style.glyphSet, args.x + 1.0f, true);

    glBindTexture(GL_TEXTURE_2D, 0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    if (depth) glEnable(GL_DEPTH_TEST);
    if (!texture) glDisable(GL_TEXTURE_2D);
    if (!blend) glDisable(GL_BLEND);
    if (!scissor) glDisable(GL_SCISSOR_TEST);
    if (lighting) glEnable(GL_LIGHTING);
    glBlendFunc(GLenum(blendSrc), GLenum(blendDst));
    glMatrixMode(GLenum(matrixMode));
    return true;
}

void CFont::DrawPass(const DrawArgs& args, int glyphSet, float x, bool secondPass) {
    glLoadIdentity();
    glTranslatef(x, args.y, 0.0f);
    // Each byte c calls list base + set * 128 + c - 32.
    glListBase(m_ListBase + glyphSet * 128 - 32);
    glScalef(args.scaleX, args.scaleY, 1.0f);

    glActiveTexture(GL_TEXTURE0);
    const bool useShader = m_Shader && m_Shader->getShaderHandler() != 0;
    if (useShader) {
        m_Shader->Begin();
        const GLuint program = m_Shader->getShaderHandler();
        if (secondPass && args.setTextPosition)
            glUniform3fARB(glGetUniformLocationARB(program, "tpos"), x, args.y, 0.0f);
        glUniform4fARB(glGetUniformLocationARB(program, "colors"), args.r, args.g, args.b, args.a);
    } else {
        glColor4f(args.r, args.g, args.b, args.a);
    }
    int length = 0;
    while (m_Text[length] != '\0')
        ++length;
    glCallLists(length, GL_UNSIGNED_BYTE, m_Text);
    if (useShader)
        m_Shader->End();
    else
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
