#include "render3d/CHeightfield.h"

#include "core/ByteReader.h"
#include "core/Engine.h"
#include "image/CTexture.h"
#include "render3d/CShaderManager.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>

const CVector3 CHeightField::MY_LIGHT(6.0f, 70.1f, 9.0f);

namespace {

// The sun of the light map that shader-mode creation builds: low, from the far corner.
const CVector3 kDefaultSun(-1.0f, -0.6f, -0.4f);
// Light maps larger than this are refused rather than allocated.
const int kMaxLightMapSide = 4096;
// Extra margin, in cells, around a segment's path when picking the cells it may hit: the
// polygon test accepts points a little outside a triangle.
const double kCellMargin = 0.1;

char kGrassTexture[] = "Data/Terrain/grass_1.png";
char kSandTexture[] = "Data/Terrain/sand_1.png";

void ReportHeightFile(const char* file, const std::string& why) {
    std::cout << "\nCannot open heightfield file: " << (file ? file : "");
    if (!why.empty()) std::cout << " (" << why << ")";
    std::cout << std::endl;
}

// The grey value of one pixel of any depth; 8-bit pixels are taken as they are.
unsigned char PixelGrey(const SDL_PixelFormat* format, const Uint8* p) {
    const int bpp = format->BytesPerPixel;
    if (bpp == 1) return *p;
    Uint32 pixel = 0;
    if (bpp == 2) {
        Uint16 v;
        std::memcpy(&v, p, 2);
        pixel = v;
    } else if (bpp == 3) {
        pixel = SDL_BYTEORDER == SDL_LIL_ENDIAN ? Uint32(p[0] | p[1] << 8 | p[2] << 16)
                                                : Uint32(p[2] | p[1] << 8 | p[0] << 16);
    } else {
        std::memcpy(&pixel, p, 4);
    }
    Uint8 r, g, b;
    SDL_GetRGB(pixel, const_cast<SDL_PixelFormat*>(format), &r, &g, &b);
    return (unsigned char)((r + g + b) / 3);
}

void UploadLinearRepeat(unsigned int& name, GLint internalFormat, GLenum format, int width,
                        int height, const unsigned char* pixels) {
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE,
                 pixels);
}

void UploadArray(unsigned int& buffer, const std::vector<float>& data) {
    glGenBuffersARB(1, &buffer);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(data.size() * sizeof(float)), data.data(),
                    GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

} // namespace

CHeightField::CHeightField()
    : m_Heights(size_t(MAX_SIDE) * MAX_SIDE, 0), m_pTexture(nullptr), m_pTextureA(nullptr),
      m_pTextureB(nullptr), m_pTextureC(nullptr), m_TextureMap(0), m_LightMap(0),
      m_pProgram(nullptr), m_iCellStep(1), m_iWidth(0), m_iDepth(0), m_iLayer1(50), m_iLayer2(125),
      m_iVertexCount(0), m_VertexBuffer(0), m_TexCoordBuffer(0), m_iDrawMode(DRAW_NONE) {}

// The textures belong to the texture manager, which deletes them at shutdown.
CHeightField::~CHeightField() = default;

void CHeightField::Reset() {
    m_iDrawMode = DRAW_NONE;
    m_GridPoints.clear();
    m_VertexArray.clear();
    m_TexCoordArray.clear();
    m_iVertexCount = 0;
}

void CHeightField::SetGrid(int width, int depth, int drawMode, int step) {
    m_iWidth = width;
    m_iDepth = depth;
    m_iDrawMode = drawMode;
    m_iCellStep = step > 0 ? step : 1;
}

// --- Reading heights --------------------------------------------------------------------

bool CHeightField::ReadHeights(SDL_Surface* image, unsigned int divisor, std::string& error) {
    if (!image || image->w < 1 || image->h < 1) {
        error = "empty image";
        return false;
    }
    if (image->w > MAX_SIDE || image->h > MAX_SIDE) {
        error = "larger than " + std::to_string(MAX_SIDE) + " x " + std::to_string(MAX_SIDE);
        return false;
    }
    if (divisor == 0) divisor = 1;
    const int bits = image->format->BitsPerPixel;
    const int bpp = image->format->BytesPerPixel;
    if (bits != 1 && bits != 2 && bits != 4 && (bpp < 1 || bpp > 4)) {
        error = "unsupported pixel size";
        return false;
    }
    if (SDL_MUSTLOCK(image)) SDL_LockSurface(image);
    const Uint8* pixels = static_cast<const Uint8*>(image->pixels);
    const SDL_Palette* palette = image->format->palette;
    for (int z = 0; z < image->h; ++z) {
        const Uint8* row = pixels + size_t(z) * image->pitch;
        for (int x = 0; x < image->w; ++x) {
            unsigned char grey;
            if (bits < 8) {
                // 1-, 2- and 4-bit pixels are packed several to a byte, first pixel in the
                // high bits; their grey comes from the palette.
                const int bit = x * bits;
                const int index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                const bool known = palette && index < palette->ncolors;
                const SDL_Color c = known ? palette->colors[index] : SDL_Color{0, 0, 0, 0};
                grey = (unsigned char)((c.r + c.g + c.b) / 3);
            } else {
                grey = PixelGrey(image->format, row + x * bpp);
            }
            SetHeight(x, z, (unsigned char)(grey / divisor));
        }
    }
    if (SDL_MUSTLOCK(image)) SDL_UnlockSurface(image);
    m_iWidth = image->w;
    m_iDepth = image->h;
    return true;
}

bool CHeightField::ReadRawHeights(const std::vector<unsigned char>& bytes, int width, int depth,
                                  unsigned int divisor, std::string& error) {
    if (width < 1 || depth < 1 || width > MAX_SIDE || depth > MAX_SIDE) {
        error = "grid size " + std::to_string(width) + " x " + std::to_string(depth) +
                " outside 1 to " + std::to_string(MAX_SIDE);
        return false;
    }
    const size_t needed = size_t(width) * size_t(depth);
    if (bytes.size() < needed) {
        error = "holds " + std::to_string(bytes.size()) + " bytes, needs " + std::to_string(needed);
        return false;
    }
    if (divisor == 0) divisor = 1;
    for (int x = 0; x < width; ++x)
        for (int z = 0; z < depth; ++z)
            SetHeight(x, z, (unsigned char)(bytes[size_t(x) * depth + z] / divisor));
    m_iWidth = width;
    m_iDepth = depth;
    return true;
}

bool CHeightField::LoadImageHeights(char const* file, unsigned int divisor) {
    SDL_RWops* rw = file ? SDL_RWFromFile(file, "rb") : nullptr;
    SDL_Surface* image = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    std::string error;
    const bool ok = image && ReadHeights(image, divisor, error);
    if (image) SDL_FreeSurface(image);
    if (!ok) ReportHeightFile(file, error);
    return ok;
}

// --- Creation ---------------------------------------------------------------------------

bool CHeightField::CreateFromImage(char const* file, char const* textureA, char const* textureB,
                                   char const* textureC, unsigned int divisor) {
    Reset();
    if (!LoadImageHeights(file, divisor)) return false;
    SetGrid(m_iWidth, m_iDepth, DRAW_SHADER, 1);
    m_pTextureA = new CTexture(textureA ? textureA : "");
    m_pTextureB = new CTexture(textureB ? textureB : "");
    m_pTextureC = new CTexture(textureC ? textureC : "");
    m_pProgram = g_ShaderManager ? g_ShaderManager->getDefaultShaders(SHADER_HFIELD) : nullptr;
    GenerateTexturemap();
    generateLightmap(kDefaultSun, std::max(m_iWidth, m_iDepth));
    return true;
}

bool CHeightField::CreateFromImage(char const* file, char* texture, unsigned int step,
                                   unsigned int divisor) {
    Reset();
    if (!LoadImageHeights(file, divisor)) return false;
    return FinishBufferMode(texture, step);
}

bool CHeightField::CreateFromRaw(char const* file, int width, int depth, char* texture,
                                 unsigned int step, unsigned int divisor) {
    Reset();
    std::vector<unsigned char> bytes;
    std::string error;
    if (!file || !ReadFileToMemory(file, bytes)) {
        ReportHeightFile(file, "");
        return false;
    }
    if (!ReadRawHeights(bytes, width, depth, divisor, error)) {
        ReportHeightFile(file, error);
        return false;
    }
    return FinishBufferMode(texture, step);
}

bool CHeightField::CreateFromRaw(char const* file, char* texture, unsigned int step) {
    const int width = m_iWidth, depth = m_iDepth;
    if (!CreateFromRaw(file, width, depth, texture, step, 1)) return false;
    // This form also brings the two ground textures along.
    m_pTextureA = new CTexture(kGrassTexture);
    m_pTextureB = new CTexture(kSandTexture);
    return true;
}

bool CHeightField::FinishBufferMode(char* texture, unsigned int step) {
    if (step == 0 || step >= unsigned(MAX_SIDE)) {
        std::cout << "\nHeightfield cell step must be 1 to " << MAX_SIDE - 1 << std::endl;
        return false;
    }
    SetGrid(m_iWidth, m_iDepth, DRAW_BUFFER, int(step));
    BuildTriangleList(int(step));
    m_pTexture = new CTexture(texture ? texture : "");
    return Init();
}

// --- Geometry ---------------------------------------------------------------------------

float CHeightField::GridHeight(int x, int z) const {
    x = std::clamp(x, 0, std::max(m_iWidth - 1, 0));
    z = std::clamp(z, 0, std::max(m_iDepth - 1, 0));
    return float(GetHeight(x, z));
}

int CHeightField::CellsAlongX() const {
    return m_iWidth > m_iCellStep ? (m_iWidth - m_iCellStep + m_iCellStep - 1) / m_iCellStep : 0;
}

int CHeightField::CellsAlongZ() const {
    return m_iDepth > m_iCellStep ? (m_iDepth - m_iCellStep + m_iCellStep - 1) / m_iCellStep : 0;
}

void CHeightField::CellTriangles(int x, int z, CVector3 tri[2][3]) const {
    const int s = m_iCellStep;
    auto corner = [&](int cx, int cz) {
        return CVector3(float(cx), GridHeight(cx, cz), float(cz));
    };
    tri[0][0] = corner(x, z);
    tri[0][1] = corner(x + s, z);
    tri[0][2] = corner(x + s, z + s);
    tri[1][0] = corner(x, z);
    tri[1][1] = corner(x, z + s);
    tri[1][2] = corner(x + s, z + s);
}

void CHeightField::BuildTriangleList(int step) {
    m_iCellStep = step > 0 ? step : 1;
    const int s = m_iCellStep;
    m_GridPoints.clear();
    m_VertexArray.clear();
    m_TexCoordArray.clear();
    static const int kCorners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {0, 1}, {1, 1}};
    for (int x = 0; x < m_iWidth - s; x += s)
        for (int z = 0; z < m_iDepth - s; z += s) {
            m_GridPoints.push_back(CVector3(float(x), GridHeight(x, z), float(z)));
            for (const auto& c : kCorners) {
                const int cx = x + c[0] * s, cz = z + c[1] * s;
                m_VertexArray.insert(m_VertexArray.end(),
                                     {float(cx), GridHeight(cx, cz), float(cz)});
                m_TexCoordArray.insert(m_TexCoordArray.end(),
                                       {float(cx) / m_iWidth, float(cz) / m_iDepth});
            }
        }
    m_iVertexCount = int(m_VertexArray.size() / 3);
}

float CHeightField::height(float x, float z) const {
    if (!(x >= 0.0f && z >= 0.0f && x < float(m_iWidth) && z < float(m_iDepth))) return 0.0f;
    if (m_iDrawMode == DRAW_BUFFER) {
        // Cells of the cell step, split along (x, z)-(x+s, z+s) as the triangle list is.
        const int s = m_iCellStep;
        const int cx = int(x) / s * s, cz = int(z) / s * s;
        const float fx = (x - cx) / s, fz = (z - cz) / s;
        const float h00 = GridHeight(cx, cz), h10 = GridHeight(cx + s, cz);
        const float h01 = GridHeight(cx, cz + s), h11 = GridHeight(cx + s, cz + s);
        if (fx >= fz) return h00 + fx * (h10 - h00) + fz * (h11 - h10);
        return h00 + fz * (h01 - h00) + fx * (h11 - h01);
    }
    // Unit cells split along (x, z+1)-(x+1, z) as shader mode draws them.
    const int cx = int(x), cz = int(z);
    const float fx = x - cx, fz = z - cz;
    const float h00 = GridHeight(cx, cz), h10 = GridHeight(cx + 1, cz);
    const float h01 = GridHeight(cx, cz + 1), h11 = GridHeight(cx + 1, cz + 1);
    if (fx + fz <= 1.0f) return h00 + fx * (h10 - h00) + fz * (h01 - h00);
    return h11 + (1.0f - fx) * (h01 - h11) + (1.0f - fz) * (h10 - h11);
}

std::vector<unsigned char> CHeightField::BuildTextureMap() const {
    std::vector<unsigned char> map(size_t(m_iWidth) * m_iDepth * 3, 0);
    for (int x = 0; x < m_iWidth - 1; ++x)
        for (int z = 0; z < m_iDepth - 1; ++z) {
            const int h = GetHeight(x, z);
            const int channel = h < LAYER_B_FROM ? 0 : h < LAYER_C_FROM ? 1 : 2;
            map[(size_t(z) * m_iWidth + x) * 3 + channel] = 255;
        }
    return map;
}

// --- Light maps -------------------------------------------------------------------------

std::vector<unsigned char> CHeightField::ComputeLightmap(CVector3 const& light, int size) const {
    if (size < 1 || size > kMaxLightMapSide || m_iWidth < 1 || m_iDepth < 1) return {};
    const CVector3 L = Normalize(light);
    const float toX = float(m_iWidth) / size, toZ = float(m_iDepth) / size;
    // Terrain at every texel: i runs along x, j along z.
    std::vector<float> terrain(size_t(size) * size);
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j)
            terrain[size_t(i) * size + j] = height(toX * i, toZ * j);
    auto T = [&](int i, int j) { return terrain[size_t(i) * size + j]; };

    std::vector<float> shade(size_t(size) * size, 1.0f);
    for (int i = 1; i <= size - 2; ++i)
        for (int j = 1; j <= size - 2; ++j) {
            const CVector3 n =
                Normalize(CVector3(T(i - 1, j) - T(i + 1, j), 1.0f, T(i, j - 1) - T(i, j + 1)));
            shade[size_t(i) * size + j] = std::min(std::fabs(Dot(L, n)) + 0.3f, 1.0f);
        }

    // Shadows: parallel rays along the light's way across the map, one texel per step along
    // the main axis, from the edges the light enters by. Each ray carries the height of the
    // shadow line, which sinks as the light descends; texels below it are in shadow.
    std::vector<bool> shadow(size_t(size) * size, false);
    const float across = std::max(std::fabs(L.x), std::fabs(L.z));
    if (across > 0.0f) {
        const float sx = L.x / across, sz = L.z / across;
        const float horizontal = std::sqrt(L.x * L.x + L.z * L.z);
        const float worldStep = std::sqrt(sx * toX * sx * toX + sz * toZ * sz * toZ);
        const float sink = worldStep * std::fabs(L.y) / horizontal;
        auto march = [&](float i, float j) {
            float line = -std::numeric_limits<float>::infinity();
            for (;;) {
                const int ti = int(std::floor(i + 0.5f)), tj = int(std::floor(j + 0.5f));
                if (ti < 0 || tj < 0 || ti >= size || tj >= size) break;
                const float t = T(ti, tj);
                if (t < line) shadow[size_t(ti) * size + tj] = true;
                line = std::max(line, t) - sink;
                i += sx;
                j += sz;
            }
        };
        if (L.x != 0.0f)
            for (int j = 0; j < size; ++j)
                march(L.x > 0.0f ? 0.0f : float(size - 1), float(j));
        if (L.z != 0.0f)
            for (int i = 0; i < size; ++i)
                march(float(i), L.z > 0.0f ? 0.0f : float(size - 1));
    }

    std::vector<unsigned char> map(size_t(size) * size);
    for (size_t k = 0; k < map.size(); ++k)
        map[k] = (unsigned char)(255.0f * shade[k] * (shadow[k] ? 0.5f : 1.0f));
    return map;
}

void CHeightField::generateLightmap(CVector3 const& light, int size) {
    const std::vector<unsigned char> map = ComputeLightmap(light, size);
    if (!map.empty()) createGrayscale(map.data(), size);
}

std::vector<unsigned char> CHeightField::ComputeMyLightMap() const {
    if (m_iWidth < 1 || m_iWidth != m_iDepth) return {};
    std::vector<unsigned char> map(size_t(m_iWidth) * m_iWidth, 255);
    const int s = m_iCellStep, cellsX = CellsAlongX(), cellsZ = CellsAlongZ();
    // Only the cells under the segment's path can hold a triangle it crosses, since each
    // cell's triangles lie over the cell: walk the columns of cells the path spans and, in
    // each, the cells between where the path enters and leaves it.
    auto cellRange = [&](double lo, double hi, int cells, int& first, int& last) {
        first = std::max(int(std::floor(lo / s - kCellMargin)), 0);
        last = std::min(int(std::floor(hi / s + kCellMargin)), cells - 1);
    };
    auto blocked = [&](const CVector3 segment[2]) {
        const double x0 = segment[0].x, z0 = segment[0].z;
        const double dx = double(segment[1].x) - x0, dz = double(segment[1].z) - z0;
        int firstX, lastX;
        cellRange(std::min(x0, x0 + dx), std::max(x0, x0 + dx), cellsX, firstX, lastX);
        for (int cx = firstX; cx <= lastX; ++cx) {
            double zLo = std::min(z0, z0 + dz), zHi = std::max(z0, z0 + dz);
            if (std::fabs(dx) > 1e-9) {
                const double margin = kCellMargin * s;
                double t0 = (cx * s - margin - x0) / dx, t1 = ((cx + 1) * s + margin - x0) / dx;
                if (t0 > t1) std::swap(t0, t1);
                t0 = std::max(t0, 0.0);
                t1 = std::min(t1, 1.0);
                if (t0 > t1) continue;
                zLo = std::min(z0 + t0 * dz, z0 + t1 * dz);
                zHi = std::max(z0 + t0 * dz, z0 + t1 * dz);
            }
            int firstZ, lastZ;
            cellRange(zLo, zHi, cellsZ, firstZ, lastZ);
            for (int cz = firstZ; cz <= lastZ; ++cz) {
                CVector3 tri[2][3];
                CellTriangles(cx * s, cz * s, tri);
                if (IntersectedPolygon(tri[0], segment, 3) ||
                    IntersectedPolygon(tri[1], segment, 3))
                    return true;
            }
        }
        return false;
    };
    for (int x = 0; x < m_iWidth - s; x += s)
        for (int z = 0; z < m_iDepth - s; z += s) {
            const CVector3 segment[2] = {MY_LIGHT, CVector3(float(x), GridHeight(x, z), float(z))};
            if (blocked(segment)) map[size_t(x) * m_iWidth + z] = (unsigned char)(255 * 0.5f);
        }
    return map;
}

bool CHeightField::generateMyLightMap() {
    const std::vector<unsigned char> map = ComputeMyLightMap();
    if (map.empty()) {
        std::cout << "\nThe point-light map needs a square heightfield, not " << m_iWidth << " x "
                  << m_iDepth << std::endl;
        return false;
    }
    createGrayscale(map.data(), m_iWidth);
    return true;
}

void CHeightField::createGrayscale(unsigned char const* map, int size) {
    UploadLinearRepeat(m_LightMap, 1, GL_LUMINANCE, size, size, map);
    std::cout << "\nGray Scale Image";
}

// --- GL ---------------------------------------------------------------------------------

void CHeightField::GenerateTexturemap() {
    const std::vector<unsigned char> map = BuildTextureMap();
    UploadLinearRepeat(m_TextureMap, 3, GL_RGB, m_iWidth, m_iDepth, map.data());
}

bool CHeightField::Init() {
    UploadArray(m_VertexBuffer, m_VertexArray);
    UploadArray(m_TexCoordBuffer, m_TexCoordArray);
    m_VertexArray.clear();
    m_VertexArray.shrink_to_fit();
    m_TexCoordArray.clear();
    m_TexCoordArray.shrink_to_fit();
    return true;
}

void CHeightField::Draw() {
    if (m_iDrawMode == DRAW_BUFFER)
        RenderSimple();
    else if (m_iDrawMode == DRAW_SHADER)
        Render();
}

void CHeightField::Render() {
    if (m_iDrawMode != DRAW_SHADER) return;
    glEnable(GL_TEXTURE_2D);
    if (m_pProgram) m_pProgram->Begin();
    m_pTextureA->bindAtTextureUnit(0);
    m_pTextureB->bindAtTextureUnit(1);
    glActiveTextureARB(GL_TEXTURE2);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_TextureMap);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    m_pTextureC->bindAtTextureUnit(3);
    glActiveTextureARB(GL_TEXTURE4);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_LightMap);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (m_pProgram) {
        m_pProgram->uniform1i("texA", 0);
        m_pProgram->uniform1i("texB", 1);
        m_pProgram->uniform1i("texmap", 2);
        m_pProgram->uniform1i("texC", 3);
        m_pProgram->uniform1i("lightMap", 4);
        m_pProgram->uniform1i("useLightMap", m_LightMap != 0);
    }

    const float w = float(m_iWidth), d = float(m_iDepth);
    static const int kCorners[6][2] = {{0, 0}, {0, 1}, {1, 0}, {0, 1}, {1, 1}, {1, 0}};
    glBegin(GL_TRIANGLES);
    for (int x = 0; x <= m_iWidth - 3; ++x)
        for (int z = 0; z <= m_iDepth - 3; ++z)
            for (const auto& c : kCorners) {
                const int cx = x + c[0], cz = z + c[1];
                const float u = float(c[0]), v = float(c[1]);
                glMultiTexCoord2fARB(GL_TEXTURE0, u, v);
                glMultiTexCoord2fARB(GL_TEXTURE1, u, v);
                glMultiTexCoord2fARB(GL_TEXTURE2, cx / w, cz / d);
                glMultiTexCoord2fARB(GL_TEXTURE3, u, v);
                glMultiTexCoord2fARB(GL_TEXTURE4, cz / d, cx / w);
                glVertex3f(float(cx), float(GetHeight(cx, cz)), float(cz));
            }
    glEnd();

    if (m_pProgram) m_pProgram->End();
    // Units 1 to 4 go back off, so what is drawn next (text, the logo) is not tinted by
    // the terrain's maps.
    for (int unit = 4; unit >= 1; --unit) {
        glActiveTextureARB(GL_TEXTURE0 + unit);
        glDisable(GL_TEXTURE_2D);
    }
    glActiveTextureARB(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
}

void CHeightField::RenderSimple() {
    if (m_iDrawMode != DRAW_BUFFER || m_VertexBuffer == 0) return;
    glDisable(GL_CULL_FACE);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_pTexture->GetTextureName());
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_TexCoordBuffer);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_VertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, m_iVertexCount);
    // Unbound again, so later client-side arrays are not read as buffer offsets.
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
