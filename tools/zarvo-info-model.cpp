// zarvo-info model: loads an MD2 or 3DS file with the engine's loaders and reports
// counts, materials, animations and bounds.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "models/3dsLoader.h"
#include "models/CMD2Loader.h"
#include "models/CTObjectLoader.h"
#include "models/CMD3Loader.h"
#include "models/CObjLoader.h"
#include "models/MeshMath.h"
#include "tools/zarvo-info.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zarvo-info model FILE [--skin FILE] [--folder DIR] [--swap] [--json]\n");
    return 2;
}

// --- model -------------------------------------------------------------------------------

struct ModelOptions {
    std::string file, skin, folder;
    bool hasSkin = false, swap = false, json = false;
};

} // namespace

std::string Quote(const char* s) {
    std::string out = "\"";
    for (const char* p = s; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof(buf), "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string Vec(const CVector3& v, bool json) {
    char buf[96];
    std::snprintf(buf, sizeof(buf), json ? "[%g, %g, %g]" : "(%g, %g, %g)", v.x, v.y, v.z);
    return buf;
}

std::string Box(const sBoundingBox& b, bool json) {
    if (json) return "{\"min\": " + Vec(b.min, true) + ", \"max\": " + Vec(b.max, true) + "}";
    return "min " + Vec(b.min, false) + " max " + Vec(b.max, false);
}

int BeginQuietStdout(bool json) {
    std::fflush(stdout);
    const int saved = dup(1);
    if (json) dup2(2, 1);
    return saved;
}

void EndQuietStdout(int saved) {
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
}

namespace {

void PrintObj(const ModelOptions& o, const t3DModel& m) {
    int triangles = 0, vertices = 0, coords = 0;
    for (const t3DObject& obj : m.pObject) {
        triangles += obj.numOfFaces;
        vertices += obj.numOfVerts;
        coords += obj.numTexVertex;
    }
    if (o.json) {
        std::printf("{\n  \"file\": %s,\n  \"format\": \"OBJ\",\n  \"meshes\": %d,\n",
                    Quote(o.file.c_str()).c_str(), m.numOfObjects);
        std::printf("  \"triangles\": %d,\n  \"vertices\": %d,\n  \"texcoords\": %d,\n", triangles,
                    vertices, coords);
        std::printf("  \"mesh_list\": [");
        for (size_t i = 0; i < m.pObject.size(); ++i) {
            const t3DObject& obj = m.pObject[i];
            std::printf("%s\n    {\"vertices\": %d, \"triangles\": %d, \"texcoords\": %d, "
                        "\"bounds\": %s}",
                        i ? "," : "", obj.numOfVerts, obj.numOfFaces, obj.numTexVertex,
                        Box(obj.boundingBox, true).c_str());
        }
        std::printf("\n  ],\n  \"bounds\": %s\n}\n", Box(m.boundingBox, true).c_str());
        return;
    }
    std::printf("%s: OBJ\nmeshes: %d\ntriangles: %d\nvertices: %d\ntexture coordinates: %d\n",
                o.file.c_str(), m.numOfObjects, triangles, vertices, coords);
    for (size_t i = 0; i < m.pObject.size(); ++i)
        std::printf("  mesh %zu: %d vertices, %d triangles, %d texture coordinates\n", i,
                    m.pObject[i].numOfVerts, m.pObject[i].numOfFaces, m.pObject[i].numTexVertex);
    std::printf("bounds: %s\n", Box(m.boundingBox, false).c_str());
}

std::string SkinList(const std::vector<std::string>& skins, bool json) {
    std::string out = json ? "[" : "";
    for (size_t i = 0; i < skins.size(); ++i)
        out += (i ? ", " : "") + (json ? Quote(skins[i].c_str()) : skins[i]);
    return out + (json ? "]" : "");
}

void PrintMd3(const ModelOptions& o, const t3DModel& m, const CLoadMD3& loader) {
    const auto& skins = loader.GetMeshSkins();
    if (o.json) {
        std::printf("{\n  \"file\": %s,\n  \"format\": \"MD3\",\n  \"frames\": %d,\n",
                    Quote(o.file.c_str()).c_str(), loader.GetFrameCount());
        std::printf("  \"tags\": [");
        for (int i = 0; i < m.numOfTags; ++i)
            std::printf("%s%s", i ? ", " : "", Quote(m.pTags[i].strName).c_str());
        std::printf("],\n  \"meshes\": [");
        for (size_t i = 0; i < m.pObject.size(); ++i)
            std::printf("%s\n    {\"name\": %s, \"vertices\": %d, \"triangles\": %d, "
                        "\"skins\": %s}",
                        i ? "," : "", Quote(m.pObject[i].strName).c_str(), m.pObject[i].numOfVerts,
                        m.pObject[i].numOfFaces, SkinList(skins[i], true).c_str());
        std::printf("\n  ],\n  \"frame0_bounds\": %s\n}\n", Box(m.boundingBox, true).c_str());
        return;
    }
    std::printf("%s: MD3\nframes: %d\ntags: %d\n", o.file.c_str(), loader.GetFrameCount(),
                m.numOfTags);
    for (int i = 0; i < m.numOfTags; ++i)
        std::printf("  %s\n", m.pTags[i].strName);
    std::printf("meshes: %d\n", m.numOfObjects);
    for (size_t i = 0; i < m.pObject.size(); ++i)
        std::printf("  mesh %s: %d vertices, %d triangles, skins: %s\n",
                    Quote(m.pObject[i].strName).c_str(), m.pObject[i].numOfVerts,
                    m.pObject[i].numOfFaces, SkinList(skins[i], false).c_str());
    std::printf("frame 0 bounds: %s\n", Box(m.boundingBox, false).c_str());
}

void PrintModel(const ModelOptions& o, const char* format, const t3DModel& m,
                const sBoundingBox& modelBox) {
    const bool md2 = std::strcmp(format, "MD2") == 0;
    const t3DObject* first = m.pObject.empty() ? nullptr : &m.pObject[0];
    sBoundingBox firstBox;
    if (first) firstBox = first->boundingBox;
    int faces = 0, vertices = 0;
    if (md2 && first) {
        faces = first->numOfFaces;
        vertices = first->numOfVerts;
    } else {
        for (const t3DObject& obj : m.pObject) {
            faces += obj.numOfFaces;
            vertices += obj.numOfVerts;
        }
    }
    if (o.json) {
        std::printf("{\n  \"file\": %s,\n  \"format\": \"%s\",\n  \"%s\": %d,\n",
                    Quote(o.file.c_str()).c_str(), format, md2 ? "frames" : "objects",
                    m.numOfObjects);
        std::printf("  \"vertices\": %d,\n  \"faces\": %d,\n", vertices, faces);
        if (!md2) {
            std::printf("  \"object_list\": [");
            for (size_t i = 0; i < m.pObject.size(); ++i) {
                const t3DObject& obj = m.pObject[i];
                std::printf("%s\n    {\"name\": %s, \"vertices\": %d, \"faces\": %d, "
                            "\"texcoords\": %d, \"material\": %d, \"bounds\": %s}",
                            i ? "," : "", Quote(obj.strName).c_str(), obj.numOfVerts,
                            obj.numOfFaces, obj.numTexVertex, obj.materialID,
                            Box(obj.boundingBox, true).c_str());
            }
            std::printf("\n  ],\n");
        }
        std::printf("  \"materials\": [");
        for (size_t i = 0; i < m.pMaterials.size(); ++i)
            std::printf("%s\n    {\"name\": %s, \"texture\": %s}", i ? "," : "",
                        Quote(m.pMaterials[i].strName).c_str(),
                        Quote(m.pMaterials[i].strFile).c_str());
        std::printf("\n  ],\n  \"animations\": [");
        for (size_t i = 0; i < m.pAnimations.size(); ++i)
            std::printf("%s\n    {\"name\": %s, \"start\": %d, \"end\": %d}", i ? "," : "",
                        Quote(m.pAnimations[i].strName).c_str(), m.pAnimations[i].startFrame,
                        m.pAnimations[i].endFrame);
        std::printf("\n  ],\n  \"bounds\": %s,\n  \"frame0_bounds\": %s\n}\n",
                    Box(modelBox, true).c_str(), first ? Box(firstBox, true).c_str() : "null");
        return;
    }
    std::printf("%s: %s\n", o.file.c_str(), format);
    std::printf("%s: %d\nvertices: %d%s\nfaces: %d\n", md2 ? "frames" : "objects", m.numOfObjects,
                vertices, md2 ? " per frame" : "", faces);
    if (!md2)
        for (const t3DObject& obj : m.pObject)
            std::printf("  object %s: %d vertices, %d faces, %d texture coordinates, material %d\n",
                        Quote(obj.strName).c_str(), obj.numOfVerts, obj.numOfFaces,
                        obj.numTexVertex, obj.materialID);
    std::printf("materials: %d\n", m.numOfMaterials);
    for (const tMaterialInfo& mat : m.pMaterials)
        std::printf("  %s texture %s\n", Quote(mat.strName).c_str(), Quote(mat.strFile).c_str());
    std::printf("animations: %d\n", m.numOfAnimations);
    for (const tAnimationInfo& a : m.pAnimations)
        std::printf("  %s [%d, %d]\n", a.strName, a.startFrame, a.endFrame);
    std::printf("bounds: %s\n", Box(modelBox, false).c_str());
    if (first)
        std::printf("%s bounds: %s\n", md2 ? "frame 0" : "object 0", Box(firstBox, false).c_str());
}

// The engine's XML model: objects, vertices, faces by kind, materials with their
// textures, height maps and bounds. Textures are named, not loaded.
int PrintXmlModel(const ModelOptions& o) {
    CTObjectLoader loader;
    loader.SetTextureLoader([](const std::string&) { return -1; });
    T3DModel m;
    std::fflush(stdout);
    const int savedStdout = dup(1);
    dup2(2, 1); // loader messages go to standard error
    const bool ok = loader.LoadModelFromXML(o.file.c_str(), m);
    std::fflush(stdout);
    dup2(savedStdout, 1);
    close(savedStdout);
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", o.file.c_str(), loader.GetLastError().c_str());
        return 1;
    }
    int triangles = 0, quads = 0;
    for (const T3DModelObject& obj : m.objects)
        for (const T3DFace& f : obj.faces)
            ++(f.d == -1 ? triangles : quads);
    const bool j = o.json;
    std::printf(j ? "{\n  \"file\": %s,\n  \"format\": \"XML\",\n  \"name\": %s,\n"
                  : "%s: XML\nname: %s\n",
                j ? Quote(o.file.c_str()).c_str() : o.file.c_str(), Quote(m.name.c_str()).c_str());
    std::printf(j ? "  \"objects\": %zu,\n  \"vertices\": %u,\n  \"triangles\": %d,\n  "
                    "\"quads\": %d,\n  \"object_list\": ["
                  : "objects: %zu\nvertices: %u\nfaces: %d triangles, %d quads\n",
                m.objects.size(), m.totalVertices, triangles, quads);
    for (size_t i = 0; i < m.objects.size(); ++i) {
        const T3DModelObject& obj = m.objects[i];
        std::printf(j ? "%s\n    {\"name\": %s, \"vertices\": %u, \"faces\": %u, \"bounds\": %s}"
                      : "%s  object %s: %u vertices, %u faces, %s\n",
                    j && i ? "," : "", Quote(obj.name.c_str()).c_str(), obj.numVertices,
                    obj.numFaces, Box(obj.boundingBox, j).c_str());
    }
    const std::vector<T3DModelMaterialInfo>* lists[2] = {&m.materials, &m.parallaxMaps};
    const char* titles[2] = {"materials", "parallax_maps"};
    for (int l = 0; l < 2; ++l) {
        std::printf(j ? "%s\n  \"%s\": [" : "%s%s: %zu\n", j && l == 0 ? "\n  ]," : j ? "," : "",
                    titles[l], lists[l]->size());
        for (size_t i = 0; i < lists[l]->size(); ++i) {
            const T3DModelMaterialInfo& mat = (*lists[l])[i];
            if (l == 0)
                std::printf(j ? "%s\n    {\"name\": %s, \"texture\": %s}" : "%s  %s texture %s\n",
                            j && i ? "," : "", Quote(mat.name.c_str()).c_str(),
                            Quote(mat.textureFile.c_str()).c_str());
            else
                std::printf(j ? "%s\n    {\"heightmap\": %s}" : "%s  heightmap %s\n",
                            j && i ? "," : "", Quote(mat.textureFile.c_str()).c_str());
        }
        if (j) std::printf("\n  ]");
    }
    std::printf(j ? ",\n  \"bounds\": %s\n}\n" : "bounds: %s\n", Box(m.boundingBox, j).c_str());
    return 0;
}

bool HasSuffix(const std::string& s, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i])
            return false;
    return true;
}

} // namespace

int RunModelInfo(int argc, char** argv) {
    ModelOptions o;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--skin" && i + 1 < argc) {
            o.skin = argv[++i];
            o.hasSkin = true;
        } else if (arg == "--folder" && i + 1 < argc) {
            o.folder = argv[++i];
        } else if (arg == "--swap") {
            o.swap = true;
        } else if (arg == "--json") {
            o.json = true;
        } else if (o.file.empty() && arg.rfind("--", 0) != 0) {
            o.file = arg;
        } else {
            return Usage();
        }
    }
    if (o.file.empty()) return Usage();
    if (HasSuffix(o.file, ".xml")) return PrintXmlModel(o);
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(o.file.c_str(), bytes)) {
        std::fprintf(stderr, "Unable to find the file: %s!\n", o.file.c_str());
        return 1;
    }
    const bool md3 = (bytes.size() >= 4 && std::memcmp(bytes.data(), "IDP3", 4) == 0) ||
                     HasSuffix(o.file, ".md3");
    if (md3 || HasSuffix(o.file, ".obj")) {
        t3DModel model;
        CLoadMD3 md3Loader;
        CObjLoader objLoader;
        const int saved = BeginQuietStdout(o.json);
        const bool ok =
            md3 ? md3Loader.ImportMD3FromMemory(&model, bytes.data(), bytes.size())
                : objLoader.ImportObjFromMemory(&model, reinterpret_cast<const char*>(bytes.data()),
                                                bytes.size());
        EndQuietStdout(saved);
        if (!ok) {
            std::fprintf(stderr, "%s: %s\n",
                         (md3 ? md3Loader.GetLastError() : objLoader.GetLastError()).c_str(),
                         o.file.c_str());
            return 1;
        }
        if (md3)
            PrintMd3(o, model, md3Loader);
        else
            PrintObj(o, model);
        ReleaseMd3Model(model);
        return 0;
    }
    const bool md2 =
        (bytes.size() >= 4 && std::memcmp(bytes.data(), "IDP2", 4) == 0) ||
        (!(bytes.size() >= 2 && bytes[0] == 0x4D && bytes[1] == 0x4D) && HasSuffix(o.file, ".md2"));
    // Loader warnings must not end up inside the JSON document.
    const int savedStdout = BeginQuietStdout(o.json);
    t3DModel model;
    sBoundingBox modelBox;
    bool ok;
    std::string error;
    if (md2) {
        CMD2Loader loader;
        ok = loader.ImportMD2FromMemory(&model, bytes.data(), bytes.size(),
                                        o.hasSkin ? o.skin.c_str() : nullptr);
        error = loader.GetLastError();
        // The loader keeps boxes per frame; the model's box spans them all.
        ResetBox(modelBox);
        for (const t3DObject& frame : model.pObject)
            GrowBox(modelBox, frame.pVerts, frame.numOfVerts);
    } else {
        CLoad3DS loader;
        ok = loader.Import3DSFromMemory(&model, bytes.data(), bytes.size(), o.swap);
        error = loader.GetLastError();
        modelBox = model.boundingBox;
        for (tMaterialInfo& m : model.pMaterials)
            if (m.strFile[0] && !o.folder.empty())
                CopyName(m.strFile, sizeof(m.strFile), (o.folder + m.strFile).c_str(),
                         o.folder.size() + std::strlen(m.strFile));
    }
    EndQuietStdout(savedStdout);
    if (!ok) {
        std::fprintf(stderr, "%s: %s!\n", error.c_str(), o.file.c_str());
        return 1;
    }
    PrintModel(o, md2 ? "MD2" : "3DS", model, modelBox);
    ReleaseModel(model);
    return 0;
}
