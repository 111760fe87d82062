#pragma once
// Records of the engine's own XML model family. A model is a list of sub-objects
// whose faces are triangles or quads (d = -1 marks a triangle).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "models/CEntity.h"

// One vertex: position, four texture-coordinate pairs, two unused slots, colour.
// A u0 of -1 marks a vertex without texture coordinates.
struct vertex {
    float x, y, z;
    float u0, v0, u1, v1, u2, v2, u3, v3;
    float unused0, unused1;
    float r, g, b, a;
};

struct T3DFace {
    int a, b, c, d;
    int materialIndex;
    int unused[3];
    int parallaxMapIndex;
    CVector3 normal;
    CVector3 tangent;
    CVector3 binormal;
};

struct T3DModelMaterialInfo {
    std::string name;
    std::string textureFile;
    float ambient[4] = {0, 0, 0, 0};
    float diffuse[4] = {0, 0, 0, 0};
    float specular[4] = {0, 0, 0, 0};
    int textureId = -1;
    float opacity = 1.0f;
};

struct T3DModelObject {
    unsigned numVertices = 0;
    unsigned numFaces = 0;
    std::string name;
    std::vector<vertex> vertices;
    std::vector<T3DFace> faces;
    CVector3 position;
    float angle = 0.0f;
    CVector3 axis;
    sBoundingBox boundingBox;
    sBoundingSphere boundingSphere;
};

struct T3DModel {
    std::string name;
    std::string fileName;
    unsigned numSubObjects = 0;
    unsigned numMaterials = 0;
    unsigned numParallaxMaps = 0;
    std::vector<T3DModelMaterialInfo> materials;
    std::vector<T3DModelObject> objects;
    std::vector<T3DModelMaterialInfo> parallaxMaps;
    sBoundingBox boundingBox;
    sBoundingSphere boundingSphere;
    unsigned totalVertices = 0;
};

class XMLNode;

// Reads a ZarvoModelFormat document into a T3DModel. A document that cannot be used
// prints its message, loads nothing and reports failure; the program goes on.
class CTObjectLoader {
public:
    // Turns a texture file name into a GL texture name (-1 for none). The default goes
    // through the engine's texture utility; tools and tests without GL plug in their own.
    using TextureLoader = int (*)(const std::string& file);
    void SetTextureLoader(TextureLoader loader) { m_TextureLoader = loader; }

    // A new model (the caller owns it), or null when the file cannot be used.
    T3DModel* LoadModelFromXML(char* fileName);
    bool LoadModelFromXML(const char* fileName, T3DModel& model);
    // A document already in memory; fileName is only stored and used in messages.
    bool LoadModelFromMemory(const uint8_t* bytes, size_t size, const char* fileName,
                             T3DModel& model);
    // The reason of the last failure, without the leading line break.
    const std::string& GetLastError() const { return m_LastError; }

    void calculateFaceNormal(T3DModelObject* object, int face);
    void calculateBoundingBox(T3DModel* model);
    void CalculateTangentSpaceVectors(T3DModel* model);

private:
    bool ReadModel(const XMLNode& root, T3DModel& model);
    bool ReadMaterial(const XMLNode& node, T3DModelMaterialInfo& material);
    bool ReadParallaxMap(const XMLNode& node, T3DModelMaterialInfo& map);
    bool ReadObject(const XMLNode& node, const T3DModel& model, T3DModelObject& object);
    bool Fatal(const std::string& message);
    int LoadTexture(const std::string& file) const;

    TextureLoader m_TextureLoader = nullptr;
    std::string m_LastError;
};
