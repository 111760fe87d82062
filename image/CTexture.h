#pragma once
#include "math/3DMath.h"

#include <string>
#include <vector>

struct SDL_Surface;
class CShader;

// A rectangle in texture coordinates (0 to 1); the whole image is {1, 1, 0, 0}.
struct sRect {
    float top, right, bottom, left;
};

// One corner of a screen quad: texture coordinate (u, v) at pixel offset (x, y) from the
// draw position.
struct sQuadCorner {
    float u, v, x, y;
};

// The four corners of the quad that shows rect of a width x height image, in the order
// they are sent to GL. The whole image keeps its own corner order so both paths draw
// exactly as before.
void TextureQuadCorners(float width, float height, const sRect& rect, bool wholeImage,
                        sQuadCorner out[4]);

// The pixels of a surface as tightly packed 8-bit RGB or RGBA, whatever its format
// (palettes, padded rows, other channel orders); bottomUp lists the last row first.
std::vector<unsigned char> PackSurfacePixels(SDL_Surface* surface, bool alpha, bool bottomUp);

// Builds the mipmapped RGB or RGBA texture of a surface (RGBA when it has an alpha mask)
// into the bound texture, top row first.
void UploadSurfaceMipmaps(SDL_Surface* surface);

// A 2D image: loads a file into a texture, keeps its size, a draw position and an alpha,
// and draws itself as a screen quad in the pixel view.
class CTexture {
public:
    CTexture();
    explicit CTexture(std::string file);
    CTexture(std::string file, float alpha);
    ~CTexture();
    // Registered by address with the texture manager, so never copied.
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    // False when the file cannot be read: an image-library file keeps the previous state,
    // a TGA gets the reader's checkerboard.
    bool Load(std::string file);
    // Uploads the surface, frees it and registers this texture.
    void MakeTexture(SDL_Surface* surface);
    void Reload();
    void LoadFromZip(std::string file);
    void Delete();

    float GetWidth() const { return m_Width; }
    float GetHeight() const { return m_Height; }
    void SetWidth(float w) { m_Width = w; }
    void SetHeight(float h) { m_Height = h; }
    float GetAlpha() const { return m_Alpha; }
    void SetAlpha(float a) { m_Alpha = a; }
    std::vector<std::vector<bool>>* GetPixels() { return &m_PixelMask; }
    unsigned int GetTextureName() const { return m_Texture; }
    const std::string& GetFileName() const { return m_FileName; }
    CVector2 GetPosition() const { return m_Position; }
    void SetPosition(CVector2 p) { m_Position = p; }
    CShader* GetShader() const { return m_Shader; }

    void bindAtTextureUnit(int unit);
    void InitializeDraw(float scale, float rotation, sRect* rect);

    void Draw();
    void Draw(float scale, float rotation, float r, float g, float b, float a);
    void Draw(float x, float y, float scale, float rotation, float r, float g, float b);
    void Draw(float x, float y, float scale, float rotation, float r, float g, float b, float a);
    void Draw(CVector2 pos, float scale, float rotation, float r, float g, float b, float a);
    void DrawSection(float x, float y, sRect rect, float scale, float rotation, float r, float g,
                     float b, float a);
    void DrawSection(CVector2 pos, sRect rect, float scale, float rotation, float r, float g,
                     float b, float a);

private:
    struct DrawColor {
        float r, g, b, a;
    };
    void DrawQuad(float x, float y, const sRect* section, float scale, float rotation,
                  DrawColor color);

    unsigned int m_Texture = 0;
    std::vector<std::vector<bool>> m_PixelMask;
    std::string m_FileName;
    float m_Width = 0.0f;
    float m_Height = 0.0f;
    CVector2 m_Position;
    CShader* m_Shader = nullptr;
    float m_Alpha = 1.0f;
};
