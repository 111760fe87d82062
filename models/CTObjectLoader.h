#pragma once
// Records of the engine's own XML model family. A model is a list of sub-objects
// whose faces are triangles or quads (d = -1 marks a triangle).
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
