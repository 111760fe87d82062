#include "models/CTObjectLoader.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <memory>

#include "core/Utils.h"
#include "models/MeshMath.h"
#include "models/xmlParser.h"

namespace {

const char* const kInvalid = "! Not a valid Zarvo Engine Model file!";

// Whole numbers as atoi reads them, but saturated instead of overflowing.
long long ParseInteger(const char* text) {
    if (text == nullptr) return 0;
    return std::strtoll(text, nullptr, 10);
}

int ParseIndex(const char* text) {
    const long long v = ParseInteger(text);
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

float ReadFloat(const XMLNode& node, const char* name, float fallback) {
    const char* text = node.getAttribute(name);
    return text != nullptr ? float(std::atof(text)) : fallback;
}

int DefaultTextureLoader(const std::string& file) {
    return int(CreateModelTexture(file));
}

void GrowBox(sBoundingBox& box, const vertex& v) {
    box.min.x = std::min(box.min.x, v.x);
    box.min.y = std::min(box.min.y, v.y);
    box.min.z = std::min(box.min.z, v.z);
    box.max.x = std::max(box.max.x, v.x);
    box.max.y = std::max(box.max.y, v.y);
    box.max.z = std::max(box.max.z, v.z);
}

} // namespace

bool CTObjectLoader::Fatal(const std::string& message) {
    m_LastError = message;
    std::printf("\n%s\n", message.c_str());
    std::fflush(stdout);
    return false;
}

int CTObjectLoader::LoadTexture(const std::string& file) const {
    return (m_TextureLoader ? m_TextureLoader : DefaultTextureLoader)(file);
}

T3DModel* CTObjectLoader::LoadModelFromXML(char* fileName) {
    auto model = std::make_unique<T3DModel>();
    return LoadModelFromXML(fileName, *model) ? model.release() : nullptr;
}

bool CTObjectLoader::LoadModelFromXML(const char* fileName, T3DModel& model) {
    model = T3DModel();
    model.fileName = fileName ? fileName : "";
    std::string message;
    XMLResults results;
    XMLNode root = XMLNode::openFileChecked(fileName, "ZarvoModelFormat", &message, &results);
    if (root.isEmpty()) {
        // The reader's own entry would end the program here; a model only fails.
        m_LastError = XMLNode::getError(results.error);
        std::fputs(message.c_str(), stderr);
        return false;
    }
    return ReadModel(root, model);
}

bool CTObjectLoader::LoadModelFromMemory(const uint8_t* bytes, size_t size, const char* fileName,
                                         T3DModel& model) {
    model = T3DModel();
    model.fileName = fileName ? fileName : "";
    XMLResults results;
    XMLNode root = XMLNode::parseMemory(bytes, size, "ZarvoModelFormat", &results);
    if (results.error != eXMLErrorNone) {
        m_LastError = XMLNode::getError(results.error);
        std::fputs(
            XMLNode::formatError(model.fileName.c_str(), "ZarvoModelFormat", results).c_str(),
            stderr);
        return false;
    }
    return ReadModel(root, model);
}

namespace {

// How many `child` elements to read: the declared count, but never more than the
// document holds (so no allocation follows a number in the file).
unsigned ClampCount(const XMLNode& parent, const char* child, const char* countName,
                    long long declared) {
    const long long present = parent.nChildNode(child);
    if (declared < 0) declared = 0;
    if (declared <= present) return unsigned(declared);
    std::printf("\nWARNING: %s is %lld but only %lld %s tags are present; reading %lld.", countName,
                declared, present, child, present);
    return unsigned(present);
}

} // namespace

bool CTObjectLoader::ReadModel(const XMLNode& root, T3DModel& model) {
    // The loaded model is built aside and handed over only when complete, so a failure
    // leaves the caller's model empty.
    T3DModel result;
    result.fileName = model.fileName;
    XMLNode node = root.getChildNode("model");
    const char* name = node.getAttribute("name");
    if (!name) return Fatal("Model Name not found in the xml" + std::string(kInvalid));
    const char* subObjects = node.getAttribute("numsubobjects");
    if (!subObjects) return Fatal("numsubobjects tag not found in the xml" + std::string(kInvalid));
    const char* materials = node.getAttribute("nummaterials");
    if (!materials) return Fatal("nummaterials tag not found in the xml" + std::string(kInvalid));
    const char* parallaxMaps = node.getAttribute("numofparallaxmap");
    if (!parallaxMaps)
        return Fatal("numofparallaxmap tag not found in the xml" + std::string(kInvalid));
    result.name = name;
    result.numSubObjects = ClampCount(node, "object", "numsubobjects", ParseInteger(subObjects));
    result.numMaterials = ClampCount(node, "material", "nummaterials", ParseInteger(materials));
    result.numParallaxMaps =
        ClampCount(node, "parallaxmap", "numofparallaxmap", ParseInteger(parallaxMaps));

    // Children are walked with a running index: finding the i-th by counting from the
    // start each time would be quadratic in the element count.
    int at = 0;
    result.materials.resize(result.numMaterials);
    for (T3DModelMaterialInfo& material : result.materials)
        if (!ReadMaterial(node.getChildNode("material", &at), material)) return false;
    at = 0;
    result.parallaxMaps.resize(result.numParallaxMaps);
    for (T3DModelMaterialInfo& map : result.parallaxMaps)
        if (!ReadParallaxMap(node.getChildNode("parallaxmap", &at), map)) return false;
    at = 0;
    result.objects.resize(result.numSubObjects);
    for (T3DModelObject& object : result.objects) {
        if (!ReadObject(node.getChildNode("object", &at), result, object)) return false;
        result.totalVertices += object.numVertices;
    }
    calculateBoundingBox(&result);
    model = std::move(result);
    return true;
}

bool CTObjectLoader::ReadMaterial(const XMLNode& node, T3DModelMaterialInfo& material) {
    const char* name = node.getAttribute("name");
    if (!name) return Fatal("name tag not found in material tag" + std::string(kInvalid));
    const char* opacity = node.getAttribute("opacity");
    if (!opacity)
        return Fatal("opacity attribute not found in material tag" + std::string(kInvalid));
    material.name = name;
    material.opacity = float(std::atof(opacity));
    struct ColourTag {
        const char* element;
        float* out;
    } const colours[] = {{"ambient", material.ambient},
                         {"diffuse", material.diffuse},
                         {"specular", material.specular}};
    static const char* const kComponents[] = {"r", "g", "b", "a"};
    for (const ColourTag& colour : colours) {
        XMLNode element = node.getChildNode(colour.element);
        for (int c = 0; c < 4; ++c) {
            const char* value = element.getAttribute(kComponents[c]);
            if (!value) {
                // The diffuse blue message has always read "gb".
                const bool diffuseBlue = c == 2 && colour.out == material.diffuse;
                return Fatal(std::string(diffuseBlue ? "gb" : kComponents[c]) +
                             " attribute not found in the " + colour.element + " tag" + kInvalid);
            }
            colour.out[c] = float(std::atof(value));
        }
    }
    XMLNode texture = node.getChildNode("texture");
    if (texture.isEmpty()) {
        std::printf("\nWARNING: No colormap information found.");
        material.textureFile.clear();
        material.textureId = -1;
        return true;
    }
    const char* colormap = texture.getAttribute("colormap");
    if (!colormap)
        return Fatal("colormap attribute not found in the texture tag" + std::string(kInvalid));
    material.textureFile = colormap;
    material.textureId = LoadTexture(material.textureFile);
    return true;
}

bool CTObjectLoader::ReadParallaxMap(const XMLNode& node, T3DModelMaterialInfo& map) {
    XMLNode texture = node.getChildNode("texture");
    if (texture.isEmpty()) {
        std::printf("\nWARNING: No heightmap information found.");
        map.textureFile.clear();
        map.textureId = -1;
        return true;
    }
    const char* heightmap = texture.getAttribute("heightmap");
    if (!heightmap)
        return Fatal("heightmap attribute not found in the texture tag" + std::string(kInvalid));
    map.textureFile = heightmap;
    map.textureId = LoadTexture(map.textureFile);
    return true;
}

bool CTObjectLoader::ReadObject(const XMLNode& node, const T3DModel& model,
                                T3DModelObject& object) {
    const char* name = node.getAttribute("name");
    object.name = name ? name : "";
    object.numVertices =
        ClampCount(node, "vertex", "numvertices", ParseInteger(node.getAttribute("numvertices")));
    object.numFaces =
        ClampCount(node, "face", "numfaces", ParseInteger(node.getAttribute("numfaces")));
    XMLNode position = node.getChildNode("position");
    object.position = CVector3(ReadFloat(position, "x", 0), ReadFloat(position, "y", 0),
                               ReadFloat(position, "z", 0));
    XMLNode orientation = node.getChildNode("orientation");
    object.angle = ReadFloat(orientation, "angle", 0);
    object.axis = CVector3(ReadFloat(orientation, "x", 0), ReadFloat(orientation, "y", 0),
                           ReadFloat(orientation, "z", 0));

    object.vertices.resize(object.numVertices);
    int at = 0;
    for (vertex& v : object.vertices) {
        XMLNode e = node.getChildNode("vertex", &at);
        v = vertex{};
        v.x = ReadFloat(e, "x", 0);
        v.y = ReadFloat(e, "y", 0);
        v.z = ReadFloat(e, "z", 0);
        v.u0 = ReadFloat(e, "u0", -1.0f);
        v.u1 = ReadFloat(e, "u1", 0);
        v.u2 = ReadFloat(e, "u2", 0);
        v.u3 = ReadFloat(e, "u3", 0);
        v.v0 = ReadFloat(e, "v0", 0);
        v.v1 = ReadFloat(e, "v1", 0);
        v.v2 = ReadFloat(e, "v2", 0);
        v.v3 = ReadFloat(e, "v3", 0);
        v.r = ReadFloat(e, "r", 1);
        v.g = ReadFloat(e, "g", 1);
        v.b = ReadFloat(e, "b", 1);
        v.a = ReadFloat(e, "a", 1);
    }

    object.faces.resize(object.numFaces);
    std::printf("\nNum of faces: %d", int(object.numFaces));
    const int vertexCount = int(object.numVertices);
    at = 0;
    for (size_t i = 0; i < object.faces.size(); ++i) {
        XMLNode e = node.getChildNode("face", &at);
        T3DFace& f = object.faces[i];
        f = T3DFace{};
        f.a = ParseIndex(e.getAttribute("a"));
        f.b = ParseIndex(e.getAttribute("b"));
        f.c = ParseIndex(e.getAttribute("c"));
        const char* d = e.getAttribute("d");
        f.d = d ? ParseIndex(d) : -1;
        const char* material = e.getAttribute("materialindex");
        const char* parallax = e.getAttribute("parallaxmapindex");
        // A negative index, or none, means the face has no material or height map.
        f.materialIndex = material ? std::max(ParseIndex(material), -1) : -1;
        f.parallaxMapIndex = parallax ? std::max(ParseIndex(parallax), -1) : -1;

        char where[160];
        std::snprintf(where, sizeof(where), "face %d of object '%.64s'", int(i),
                      object.name.c_str());
        auto inRange = [vertexCount](int index) { return index >= 0 && index < vertexCount; };
        if (!e.getAttribute("a") || !e.getAttribute("b") || !e.getAttribute("c"))
            return Fatal(std::string(where) + " lacks a vertex index" + kInvalid);
        if (!inRange(f.a) || !inRange(f.b) || !inRange(f.c) || (f.d != -1 && !inRange(f.d)))
            return Fatal(std::string(where) + " refers to a vertex outside the object's " +
                         std::to_string(vertexCount) + " vertices" + kInvalid);
        if (f.materialIndex >= int(model.materials.size()))
            return Fatal(std::string(where) + " refers to material " +
                         std::to_string(f.materialIndex) + " of " +
                         std::to_string(model.materials.size()) + kInvalid);
        if (f.parallaxMapIndex >= int(model.parallaxMaps.size()))
            return Fatal(std::string(where) + " refers to parallax map " +
                         std::to_string(f.parallaxMapIndex) + " of " +
                         std::to_string(model.parallaxMaps.size()) + kInvalid);
        calculateFaceNormal(&object, int(i));
    }
    return true;
}

void CTObjectLoader::calculateFaceNormal(T3DModelObject* object, int face) {
    if (!object || face < 0 || size_t(face) >= object->faces.size()) return;
    T3DFace& f = object->faces[size_t(face)];
    const int n = int(object->vertices.size());
    if (f.a < 0 || f.a >= n || f.b < 0 || f.b >= n || f.c < 0 || f.c >= n) return;
    const vertex& a = object->vertices[size_t(f.a)];
    const vertex& b = object->vertices[size_t(f.b)];
    const vertex& c = object->vertices[size_t(f.c)];
    const CVector3 pa(a.x, a.y, a.z), pb(b.x, b.y, b.z), pc(c.x, c.y, c.z);
    f.normal = Normalize(Cross(pb - pa, pc - pa));
}

void CTObjectLoader::calculateBoundingBox(T3DModel* model) {
    if (!model) return;
    ResetBox(model->boundingBox);
    for (T3DModelObject& object : model->objects) {
        ResetBox(object.boundingBox);
        for (const vertex& v : object.vertices) {
            GrowBox(object.boundingBox, v);
            GrowBox(model->boundingBox, v);
        }
    }
}

void CTObjectLoader::CalculateTangentSpaceVectors(T3DModel* model) {
    if (!model) return;
    CUtils utils;
    for (T3DModelObject& object : model->objects) {
        const int n = int(object.vertices.size());
        for (T3DFace& f : object.faces) {
            if (f.a < 0 || f.a >= n || f.b < 0 || f.b >= n || f.c < 0 || f.c >= n) continue;
            const vertex& a = object.vertices[size_t(f.a)];
            const vertex& b = object.vertices[size_t(f.b)];
            const vertex& c = object.vertices[size_t(f.c)];
            utils.ComputeTangentBasis(CVector3(a.x, a.y, a.z), CVector3(b.x, b.y, b.z),
                                      CVector3(c.x, c.y, c.z), CVector2(a.u0, a.v0),
                                      CVector2(b.u0, b.v0), CVector2(c.u0, c.v0), f.tangent,
                                      f.binormal);
        }
    }
}
