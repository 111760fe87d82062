#pragma once
// Height-field terrain: a grid of 8-bit heights read from an image or a raw file, one
// world unit per grid step, heights used directly as y. Shader mode draws every cell with
// three tiled ground textures blended by a generated texture map (and a light map);
// buffer mode turns the grid once into a textured triangle list in two vertex buffers.
// A file that cannot be used leaves the terrain empty: it draws nothing.
#include "math/3DMath.h"

#include <string>
#include <vector>

struct SDL_Surface;
class CShader;
class CTexture;

class CHeightField {
public:
    // Largest grid side; the height store is a fixed square of this side.
    static constexpr int MAX_SIDE = 1024;
    // Heights from these on pick the second and the third ground texture.
    static constexpr int LAYER_B_FROM = 151;
    static constexpr int LAYER_C_FROM = 201;
    // The point light of generateMyLightMap.
    static const CVector3 MY_LIGHT;
    enum { DRAW_NONE = -1, DRAW_BUFFER = 1, DRAW_SHADER = 2 };

    CHeightField();
    ~CHeightField();
    CHeightField(const CHeightField&) = delete;
    CHeightField& operator=(const CHeightField&) = delete;

    // Shader mode from an image; also builds the light map (generateLightmap with the
    // default sun), so the terrain is never drawn with an empty unit 4.
    bool CreateFromImage(char const* file, char const* textureA, char const* textureB,
                         char const* textureC, unsigned int divisor);
    // Buffer mode from an image or a raw file of width x depth bytes (the byte at
    // x * depth + z is height (x, z)). The form without sizes reuses the last ones.
    bool CreateFromImage(char const* file, char* texture, unsigned int step, unsigned int divisor);
    bool CreateFromRaw(char const* file, int width, int depth, char* texture, unsigned int step,
                       unsigned int divisor);
    bool CreateFromRaw(char const* file, char* texture, unsigned int step);

    // Uploads the triangle list into the two buffers and releases the arrays.
    bool Init();
    void Draw();
    void Render();
    void RenderSimple();

    void GenerateTexturemap();
    // y of the drawn surface at (x, z); 0 outside the grid.
    float height(float x, float z) const;
    void generateLightmap(CVector3 const& light, int size);
    // False (and no light map) for a grid that is not square.
    bool generateMyLightMap();
    void createGrayscale(unsigned char const* map, int size);
    void SetLayers(int first, int second) {
        m_iLayer1 = first;
        m_iLayer2 = second;
    }

    // --- The pure steps of the operations above, without GL ---

    // Heights from a surface of any depth (8-bit pixels as they are, others as their grey
    // value), honouring the row pitch. Refuses grids larger than MAX_SIDE.
    bool ReadHeights(SDL_Surface* image, unsigned int divisor, std::string& error);
    // Heights from raw bytes; refuses too few bytes or sizes outside 1..MAX_SIDE.
    bool ReadRawHeights(const std::vector<unsigned char>& bytes, int width, int depth,
                        unsigned int divisor, std::string& error);
    void SetHeight(int x, int z, unsigned char h) { m_Heights[Index(x, z)] = h; }
    unsigned char GetHeight(int x, int z) const { return m_Heights[Index(x, z)]; }
    void SetGrid(int width, int depth, int drawMode, int step);
    // The RGB texture map, row z column x, tightly packed.
    std::vector<unsigned char> BuildTextureMap() const;
    // The buffer-mode triangle list with cells of `step` grid points.
    void BuildTriangleList(int step);
    // The diffuse-and-shadow light map, rows along x (as unit 4 samples it).
    std::vector<unsigned char> ComputeLightmap(CVector3 const& light, int size) const;
    // The point-light map of generateMyLightMap; empty for a grid that is not square.
    std::vector<unsigned char> ComputeMyLightMap() const;
    // The two triangles of the buffer-mode cell whose first corner is (x, z).
    void CellTriangles(int x, int z, CVector3 tri[2][3]) const;
    // Buffer-mode cells along x (and z): first corners 0, step, ... below width - step.
    int CellsAlongX() const;
    int CellsAlongZ() const;

    int GetWidth() const { return m_iWidth; }
    int GetDepth() const { return m_iDepth; }
    int GetDrawMode() const { return m_iDrawMode; }
    int GetCellStep() const { return m_iCellStep; }
    int GetVertexCount() const { return m_iVertexCount; }
    const std::vector<float>& GetVertexArray() const { return m_VertexArray; }
    const std::vector<float>& GetTexCoordArray() const { return m_TexCoordArray; }
    const std::vector<CVector3>& GetGridPoints() const { return m_GridPoints; }
    unsigned int GetTextureMap() const { return m_TextureMap; }
    unsigned int GetLightMap() const { return m_LightMap; }

private:
    static size_t Index(int x, int z) { return size_t(x) * MAX_SIDE + size_t(z); }
    // The shared tail of the buffer-mode creations.
    bool FinishBufferMode(char* texture, unsigned int step);
    bool LoadImageHeights(char const* file, unsigned int divisor);
    float GridHeight(int x, int z) const;
    void Reset();

    std::vector<unsigned char> m_Heights;
    std::vector<CVector3> m_GridPoints;
    CTexture* m_pTexture;
    CTexture* m_pTextureA;
    CTexture* m_pTextureB;
    CTexture* m_pTextureC;
    unsigned int m_TextureMap;
    unsigned int m_LightMap;
    CShader* m_pProgram;
    int m_iCellStep;
    int m_iWidth;
    int m_iDepth;
    int m_iLayer1;
    int m_iLayer2;
    int m_iVertexCount;
    std::vector<float> m_VertexArray;
    std::vector<float> m_TexCoordArray;
    unsigned int m_VertexBuffer;
    unsigned int m_TexCoordBuffer;
    int m_iDrawMode;
};
