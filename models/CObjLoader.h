#pragma once
// Reads a Wavefront OBJ file into the shared model record: one t3DObject per group of
// faces (a "v" line after faces starts the next one), then normals, bounds and the
// per-mesh vertex buffers. Corners may be v, v/t, v/t/n or v//n with absolute or
// negative indices; polygons are fanned into triangles.
#include <cstddef>
#include <string>
#include <vector>

#include "models/CEntity.h"

class CObjLoader {
public:
    // Reads the file and fills the model. On failure the model is left empty, the reason
    // goes to standard error (and GetLastError) and false is returned.
    bool ImportObj(t3DModel* model, char* file);
    // Parses an OBJ image in memory with normals and bounds, but creates no buffer objects
    // and prints nothing; false with GetLastError on failure.
    bool ImportObjFromMemory(t3DModel* model, const char* data, size_t size);
    const std::string& GetLastError() const { return m_error; }

    bool ReadObjFile(t3DModel* model);
    bool ReadVertexInfo();
    bool ReadFaceInfo();
    void FillInObjectInfo(t3DModel* model);
    void SetObjectMaterial(t3DModel* model, int object, int material);
    void AddMaterial(t3DModel* model, const char* name, const char* file, int r, int g, int b);
    // Vertex normals (and each face's own normal in its tFace vector) and the vertex count.
    void ComputeNormals(t3DModel* model);
    void ComputeBoundingBox(t3DModel* model);
    // Uploads every mesh's corner arrays into buffer objects (needs a GL context; does
    // nothing without buffer-object support).
    void InitVBONEW(t3DModel* model);

    // Un-indexed per-corner arrays of one mesh: 3 floats a corner for positions and
    // normals, 2 for texture coordinates (textured meshes only).
    static void BuildCornerArrays(const t3DObject& mesh, std::vector<float>& positions,
                                  std::vector<float>& normals, std::vector<float>& texCoords);

private:
    bool Fail(const std::string& message);
    bool LineError(const char* what);
    bool IndexError(const char* what, long index, size_t count);

    // The text being read and the current line [m_line, m_lineEnd).
    const char* m_cur = nullptr;
    const char* m_end = nullptr;
    const char* m_lineEnd = nullptr;
    int m_lineNumber = 0;

    // Everything read so far; a mesh owns the entries from its start onwards.
    std::vector<CVector3> m_Positions;
    // Pending faces, three corners each: indices into the lists above (-1: no coordinate).
    // The current mesh's triangles as file-wide indices (-1: no texture coordinate).
    struct sTriangle {
        int vert[3];
        int coord[3];
    };
    std::vector<sTriangle> m_Triangles;
    std::vector<CVector2> m_TexCoords;
    bool m_bTexCoordsSeen = false;
    bool m_bJustReadAFace = false;
    size_t m_meshPositionStart = 0;
    size_t m_meshTexCoordStart = 0;
    std::string m_error;
};
