#include "image/CTexture.h"

#include "core/DataPath.h"
#include "core/Engine.h"
#include "image/CTextureManager.h"
#include "image/ImageUpload.h"
#include "image/tgaload.h"
#include "render3d/CShader.h"
#include "render3d/CShaderManager.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <iostream>

namespace {

const sRect kWholeImage = {1.0f, 1.0f, 0.0f, 0.0f};

CShader* DefaultTextureShader() {
    return g_ShaderManager ? g_ShaderManager->getDefaultShaders(SHADER_SIMPLE_TEXTURE) : nullptr;
}

bool IsPackedByteOrder(const SDL_Surface* s, bool alpha) {
    const SDL_PixelFormat* f = s->format;
    const int bpp = alpha ? 4 : 3;
    return f->BytesPerPixel == bpp && f->Rmask == 0x000000FFu && f->Gmask == 0x0000FF00u &&
           f->Bmask == 0x00FF0000u && (!alpha || f->Amask == 0xFF000000u) && s->pitch == s->w * bpp;
}

Uint32 ReadPixelValue(const Uint8* p, int bytesPerPixel) {
    switch (bytesPerPixel) {
    case 1:
        return *p;
    case 2: {
        Uint16 v;
        std::memcpy(&v, p, 2);
        return v;
    }
    case 3:
        return Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16;
    default: {
        Uint32 v;
        std::memcpy(&v, p, 4);
        return v;
    }
    }
}

// A substring test on the whole path, so a folder name can pick the TGA reader too.
bool FileNameSelectsTGA(const std::string& file) {
    return file.find("tga") != std::string::npos || file.find("TGA") != std::string::npos;
}

} // namespace

std::vector<unsigned char> PackSurfacePixels(SDL_Surface* surface, bool alpha, bool bottomUp) {
    const int w = surface->w, h = surface->h;
    const int channels = alpha ? 4 : 3;
    std::vector<unsigned char> packed(size_t(w) * h * channels);
    // SDL's own blitters convert whole rows at a time into byte-ordered R, G, B(, A);
    // the pixel-by-pixel path below only serves when SDL cannot make that surface.
    SDL_PixelFormat target{};
    target.BitsPerPixel = Uint8(channels * 8);
    target.BytesPerPixel = Uint8(channels);
    target.Rmask = 0x000000FFu, target.Gmask = 0x0000FF00u, target.Bmask = 0x00FF0000u;
    target.Amask = alpha ? 0xFF000000u : 0u;
    target.Gshift = 8, target.Bshift = 16, target.Ashift = alpha ? 24 : 0;
    target.alpha = 255;
    const SDL_PixelFormat* f = surface->format;
    // 24- and 32-bit pixels whose channels are whole bytes only need their bytes reordered.
    const bool byteChannels = SDL_BYTEORDER == SDL_LIL_ENDIAN &&
                              (f->BytesPerPixel == 3 || f->BytesPerPixel == 4) && f->Rloss == 0 &&
                              f->Gloss == 0 && f->Bloss == 0 && f->Rshift % 8 == 0 &&
                              f->Gshift % 8 == 0 && f->Bshift % 8 == 0 &&
                              (!alpha || (f->Aloss == 0 && f->Ashift % 8 == 0));
    if (byteChannels) {
        const int bpp = f->BytesPerPixel;
        const int r = f->Rshift / 8, g = f->Gshift / 8, b = f->Bshift / 8, a = f->Ashift / 8;
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        unsigned char* out = packed.data();
        for (int row = 0; row < h; ++row) {
            const int y = bottomUp ? h - 1 - row : row;
            const Uint8* src =
                static_cast<const Uint8*>(surface->pixels) + size_t(y) * surface->pitch;
            for (int x = 0; x < w; ++x, src += bpp, out += channels) {
                out[0] = src[r], out[1] = src[g], out[2] = src[b];
                if (alpha) out[3] = src[a];
            }
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        return packed;
    }
    SDL_Surface* converted = SDL_ConvertSurface(surface, &target, SDL_SWSURFACE);
    SDL_Surface* source = converted ? converted : surface;
    const int bpp = source->format->BytesPerPixel;
    if (SDL_MUSTLOCK(source)) SDL_LockSurface(source);
    unsigned char* out = packed.data();
    const size_t rowBytes = size_t(w) * channels;
    for (int row = 0; row < h; ++row, out += rowBytes) {
        const int y = bottomUp ? h - 1 - row : row;
        const Uint8* src = static_cast<const Uint8*>(source->pixels) + size_t(y) * source->pitch;
        if (converted) {
            std::memcpy(out, src, rowBytes);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const Uint32 value = ReadPixelValue(src + size_t(x) * bpp, bpp);
            Uint8 a = 255;
            unsigned char* px = out + size_t(x) * channels;
            SDL_GetRGBA(value, source->format, &px[0], &px[1], &px[2], &a);
            if (alpha) px[3] = a;
        }
    }
    if (SDL_MUSTLOCK(source)) SDL_UnlockSurface(source);
    if (converted) SDL_FreeSurface(converted);
    return packed;
}

void UploadSurfaceMipmaps(SDL_Surface* surface) {
    const bool alpha = surface->format->Amask != 0;
    const GLenum format = alpha ? GL_RGBA : GL_RGB;
    CScopedUnpackAlignment tightRows;
    if (IsPackedByteOrder(surface, alpha) && !SDL_MUSTLOCK(surface)) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, format, surface->w, surface->h, format, GL_UNSIGNED_BYTE,
                          surface->pixels);
        return;
    }
    const std::vector<unsigned char> packed = PackSurfacePixels(surface, alpha, false);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, surface->w, surface->h, format, GL_UNSIGNED_BYTE,
                      packed.data());
}

void TextureQuadCorners(float width, float height, const sRect& rect, bool wholeImage,
                        sQuadCorner out[4]) {
    if (wholeImage) {
        out[0] = {0.0f, 1.0f, 0.0f, height};
        out[1] = {1.0f, 1.0f, width, height};
        out[2] = {1.0f, 0.0f, width, 0.0f};
        out[3] = {0.0f, 0.0f, 0.0f, 0.0f};
        return;
    }
    const float w = width * (rect.right - rect.left);
    const float h = height * (rect.top - rect.bottom);
    out[0] = {rect.left, 1.0f - rect.top, 0.0f, 0.0f};
    out[1] = {rect.right, 1.0f - rect.top, w, 0.0f};
    out[2] = {rect.right, 1.0f - rect.bottom, w, h};
    out[3] = {rect.left, 1.0f - rect.bottom, 0.0f, h};
}

CTexture::CTexture() = default;

CTexture::CTexture(std::string file) {
    Load(file);
    m_Alpha = 1.0f;
}

CTexture::CTexture(std::string file, float alpha) {
    Load(file);
    m_Alpha = alpha;
}

CTexture::~CTexture() {
    Delete();
    // A dead entry in the manager's list would be used by its next walk.
    if (g_TextureManager) g_TextureManager->Forget(this);
}

bool CTexture::Load(std::string file) {
    std::cout << "Loading Texture: " << file << std::endl;
    bool loaded = true;
    if (FileNameSelectsTGA(file)) {
        glGenTextures(1, &m_Texture);
        glBindTexture(GL_TEXTURE_2D, m_Texture);
        image_t image{};
        tgaLoad(const_cast<char*>(file.c_str()), &image, 0);
        tgaSetTexParams(GL_LINEAR, GL_LINEAR, GL_MODULATE);
        m_Width = image.info.width;
        m_Height = image.info.height;
        loaded = image.data != nullptr;
        tgaFree(&image);
    } else {
        SDL_Surface* surface = IMG_Load(ResolveDataPath(file).c_str());
        if (!surface) {
            std::cout << "Failed to load the image: " << file << ", Error: " << SDL_GetError()
                      << std::endl;
            return false;
        }
        m_FileName = file;
        MakeTexture(surface);
    }
    m_Shader = DefaultTextureShader();
    return loaded;
}

void CTexture::MakeTexture(SDL_Surface* surface) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &m_Texture);
    glBindTexture(GL_TEXTURE_2D, m_Texture);
    SetRepeatSampling(GL_LINEAR, false);
    m_Width = static_cast<float>(surface->w);
    m_Height = static_cast<float>(surface->h);
    UploadSurfaceMipmaps(surface);
    SDL_FreeSurface(surface);
    if (g_TextureManager) g_TextureManager->RegisterTexture(this);
}

void CTexture::Reload() {
    if (!m_FileName.empty()) LoadFromZip(m_FileName);
}

void CTexture::LoadFromZip(std::string /*file*/) {}

// GL names stay alive for the life of the context; nothing shares ownership of them.
void CTexture::Delete() {}

void CTexture::bindAtTextureUnit(int unit) {
    glActiveTextureARB(GL_TEXTURE0 + unit);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_Texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void CTexture::InitializeDraw(float /*scale*/, float rotation, sRect* rect) {
    glBindTexture(GL_TEXTURE_2D, m_Texture);
    if (rotation == 0.0f) return;
    const sRect& r = rect ? *rect : kWholeImage;
    const float px = (r.right - r.left) / 2.0f * m_Width;
    const float py = (r.top - r.bottom) / 2.0f * m_Height;
    glTranslatef(px, py, 0.0f);
    glRotatef(rotation, 0.0f, 0.0f, 1.0f);
    glTranslatef(-px, -py, 0.0f);
}

void CTexture::DrawQuad(float x, float y, const sRect* section, float scale, float rotation,
                        DrawColor color) {
    // Unit 0 first, so the bind below lands on the unit the quad samples.
    glActiveTextureARB(GL_TEXTURE0);
    glPushMatrix();
    glTranslatef(x, y, 0.0f);
    sRect rect = section ? *section : kWholeImage;
    InitializeDraw(scale, rotation, &rect);
    if (scale != 1.0f) glScalef(scale, scale, 0.0f);

    const bool useShader = m_Shader && m_Shader->getShaderHandler() != 0;
    if (useShader) {
        m_Shader->Begin();
        const GLint location = glGetUniformLocationARB(m_Shader->getShaderHandler(), "colors");
        glUniform4fARB(location, color.r, color.g, color.b, color.a);
    } else {
        // Without the shader table the fixed pipeline modulates by the current colour.
        glColor4f(color.r, color.g, color.b, color.a);
    }

    sQuadCorner corners[4];
    TextureQuadCorners(m_Width, m_Height, rect, section == nullptr, corners);
    glBegin(GL_QUADS);
    for (const sQuadCorner& c : corners) {
        glTexCoord2f(c.u, c.v);
        glVertex2f(c.x, c.y);
    }
    glEnd();

    if (useShader) m_Shader->End();
    glColor3f(1.0f, 1.0f, 1.0f);
    glPopMatrix();
}

void CTexture::Draw() {
    DrawQuad(m_Position.x, m_Position.y, nullptr, 1.0f, 0.0f, {1.0f, 1.0f, 1.0f, m_Alpha});
}

void CTexture::Draw(float scale, float rotation, float r, float g, float b, float a) {
    DrawQuad(m_Position.x, m_Position.y, nullptr, scale, rotation, {r, g, b, a});
}

void CTexture::Draw(float x, float y, float scale, float rotation, float r, float g, float b) {
    DrawQuad(x, y, nullptr, scale, rotation, {r, g, b, m_Alpha});
}

void CTexture::Draw(float x, float y, float scale, float rotation, float r, float g, float b,
                    float a) {
    DrawQuad(x, y, nullptr, scale, rotation, {r, g, b, a});
}

void CTexture::Draw(CVector2 pos, float scale, float rotation, float r, float g, float b, float a) {
    DrawQuad(pos.x, pos.y, nullptr, scale, rotation, {r, g, b, a});
}

void CTexture::DrawSection(float x, float y, sRect rect, float scale, float rotation, float r,
                           float g, float b, float a) {
    DrawQuad(x, y, &rect, scale, rotation, {r, g, b, a});
}

void CTexture::DrawSection(CVector2 pos, sRect rect, float scale, float rotation, float r, float g,
                           float b, float a) {
    DrawQuad(pos.x, pos.y, &rect, scale, rotation, {r, g, b, a});
}
