#include "models/CTObjectLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "support/test_paths.h"

namespace {

std::vector<std::string> g_Textures;

// Textures are named, not loaded: the id is the position in the list plus 10.
int RecordTexture(const std::string& file) {
    g_Textures.push_back(file);
    return int(g_Textures.size()) + 9;
}

struct Loaded {
    bool ok;
    T3DModel model;
    std::string out;
    std::string error;
};

Loaded Load(const std::string& xml) {
    g_Textures.clear();
    CTObjectLoader loader;
    loader.SetTextureLoader(RecordTexture);
    Loaded r;
    testing::internal::CaptureStdout();
    r.ok = loader.LoadModelFromMemory(reinterpret_cast<const uint8_t*>(xml.data()), xml.size(),
                                      "test.xml", r.model);
    r.out = testing::internal::GetCapturedStdout();
    r.error = loader.GetLastError();
    return r;
}

const char* const kMaterial = "<material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
                              "<diffuse r='1' g='0.5' b='0.25' a='1'/>"
                              "<specular r='0' g='0' b='0' a='1'/>";

// A model of `objects` (each a string of vertex and face tags) with the given counts.
std::string Model(const std::string& counts, const std::string& body) {
    return "<?xml version='1.0'?><ZarvoModelFormat><model name='t' " + counts + ">" + body +
           "</model></ZarvoModelFormat>";
}

std::string Object(const std::string& name, int numVertices, int numFaces,
                   const std::string& content) {
    return "<object name='" + name + "' numvertices='" + std::to_string(numVertices) +
           "' numfaces='" + std::to_string(numFaces) + "'><position x='1' y='2' z='3'/>" +
           "<orientation angle='90' x='0' y='1' z='0'/>" + content + "</object>";
}

const char* const kThreeVertices = "<vertex x='0' y='0' z='0' u0='0' v0='0'/>"
                                   "<vertex x='1' y='0' z='0' u0='1' v0='0'/>"
                                   "<vertex x='1' y='1' z='0' v0='1' r='0.5'/>"
                                   "<vertex x='0' y='1' z='0' u0='0' v0='1'/>";

TEST(CTObjectLoader, DemoFloorLoadsAsGenerated) {
    const std::string path = zarvo_test::SourceDir() + "/Data/TModel/planeParralax.xml";
    CTObjectLoader loader;
    loader.SetTextureLoader(RecordTexture);
    g_Textures.clear();
    T3DModel m;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(loader.LoadModelFromXML(path.c_str(), m)) << loader.GetLastError();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nNum of faces: 64");
    EXPECT_EQ(m.name, "planeParralax");
    ASSERT_EQ(m.objects.size(), 1u);
    EXPECT_EQ(m.totalVertices, 81u);
    EXPECT_EQ(g_Textures, (std::vector<std::string>{"Data/TModel/cobbles_color.png",
                                                    "Data/TModel/cobbles_height.png"}));
    EXPECT_EQ(m.materials[0].textureId, 10);
    const T3DModelObject& floor = m.objects[0];
    ASSERT_EQ(floor.faces.size(), 64u);
    // Face (i, j) of the 8 x 8 grid: a = 9j + i, then the row above, then across.
    const T3DFace& f = floor.faces[9];
    EXPECT_EQ((std::vector<int>{f.a, f.b, f.c, f.d}), (std::vector<int>{10, 19, 20, 11}));
    EXPECT_EQ(f.materialIndex, 0);
    EXPECT_FLOAT_EQ(floor.vertices[80].u0, 8.0f);
    EXPECT_FLOAT_EQ(m.boundingBox.min.x, -160.0f);

    // The floor faces up and its tangent frame is orthonormal.
    loader.CalculateTangentSpaceVectors(&m);
    for (const T3DFace& face : floor.faces) {
        EXPECT_NEAR(face.normal.y, 1.0f, 1e-6f);
        const CVector3 vs[3] = {face.normal, face.tangent, face.binormal};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(Dot(vs[i], vs[i]), 1.0f, 1e-5f);
            EXPECT_NEAR(Dot(vs[i], vs[(i + 1) % 3]), 0.0f, 1e-5f);
        }
    }
}

TEST(CTObjectLoader, FormatEdgeCases) {
    // Triangle and quad, u0 absent, a material without texture, and only the first of two
    // objects read: the vertex total counts that one only.
    const std::string body =
        std::string(kMaterial) + "</material>" +
        Object("first", 4, 2,
               std::string(kThreeVertices) + "<face a='0' b='1' c='2' materialindex='0'/>"
                                             "<face a='0' b='1' c='2' d='3'/>") +
        Object("second", 3, 0, kThreeVertices);
    Loaded r = Load(Model("numsubobjects='1' nummaterials='1' numofparallaxmap='0'", body));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.out, "\nWARNING: No colormap information found.\nNum of faces: 2");
    EXPECT_TRUE(g_Textures.empty());
    ASSERT_EQ(r.model.objects.size(), 1u);
    EXPECT_EQ(r.model.totalVertices, 4u);
    EXPECT_EQ(r.model.materials[0].textureId, -1);
    const T3DModelObject& o = r.model.objects[0];
    EXPECT_EQ(o.faces[0].d, -1);
    EXPECT_EQ(o.faces[1].d, 3);
    EXPECT_EQ(o.faces[1].materialIndex, -1);
    EXPECT_EQ(o.vertices[2].u0, -1.0f);
    EXPECT_FLOAT_EQ(o.vertices[2].r, 0.5f);
    EXPECT_FLOAT_EQ(o.angle, 90.0f);
    EXPECT_NEAR(o.faces[0].normal.z, 1.0f, 1e-6f);
}

TEST(CTObjectLoader, FatalAttributesStopLoadingAndLeaveTheModelEmpty) {
    struct Case {
        std::string counts, body, message;
    } const cases[] = {
        {"numsubobjects='0' nummaterials='0' numofparallaxmap='0'", "",
         "Model Name not found in the xml!"},
        {"nummaterials='0' numofparallaxmap='0'", "", "numsubobjects tag not found"},
        {"numsubobjects='0' nummaterials='2' numofparallaxmap='0'",
         "<material name='m'/><material name='n' opacity='1'><texture colormap='late.png'/>"
         "</material>",
         "opacity attribute not found in material tag! Not a valid Zarvo Engine Model file!"},
        {"numsubobjects='0' nummaterials='1' numofparallaxmap='0'",
         "<material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
         "<diffuse r='1' g='1' a='1'/></material>",
         "\ngb attribute not found in the diffuse tag! Not a valid Zarvo Engine Model file!\n"},
        {"numsubobjects='0' nummaterials='1' numofparallaxmap='0'",
         std::string(kMaterial) + "<texture/></material>", "colormap attribute not found"},
        {"numsubobjects='0' nummaterials='0' numofparallaxmap='1'",
         "<parallaxmap><texture/></parallaxmap>",
         "heightmap attribute not found in the texture tag!"},
    };
    for (const Case& c : cases) {
        std::string xml = Model(c.counts, c.body);
        if (c.message.rfind("Model Name", 0) == 0) xml.replace(xml.find(" name='t'"), 9, "");
        Loaded r = Load(xml);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_TRUE(r.model.objects.empty() && r.model.materials.empty());
        EXPECT_EQ(r.model.totalVertices, 0u);
        EXPECT_TRUE(g_Textures.empty()) << "loading went on after the message";
    }
}

TEST(CTObjectLoader, IndicesAndCountsFromTheFileAreChecked) {
    const std::string counts = "numsubobjects='1' nummaterials='1' numofparallaxmap='1'";
    const std::string head = std::string(kMaterial) + "</material><parallaxmap/>";
    struct Case {
        std::string object;
        bool ok;
        const char* message;
    } const cases[] = {
        {Object("o", 4, 1, std::string(kThreeVertices) + "<face a='0' b='1' c='4'/>"), false,
         "outside the object's 4 vertices"},
        {Object("o", 4, 1, std::string(kThreeVertices) + "<face a='-1' b='1' c='2'/>"), false,
         "outside the object's 4 vertices"},
        {Object("o", 4, 1, std::string(kThreeVertices) + "<face a='0' b='1' c='2' d='9'/>"), false,
         "outside the object's 4 vertices"},
        {Object("o", 4, 1, std::string(kThreeVertices) + "<face a='0' b='1' c='2'/>"), true, ""},
        {Object("o", 4, 1,
                std::string(kThreeVertices) + "<face a='0' b='1' c='2' materialindex='1'/>"),
         false, "refers to material 1 of 1"},
        {Object("o", 4, 1,
                std::string(kThreeVertices) + "<face a='0' b='1' c='2' parallaxmapindex='7'/>"),
         false, "refers to parallax map 7 of 1"},
        // Counts beyond what is present are cut to it, however large.
        {Object("o", 2000000000, 99999999,
                std::string(kThreeVertices) + "<face a='0' b='1' c='3'/>"),
         true, "numvertices is 2000000000 but only 4 vertex tags are present; reading 4."},
        {Object("o", -5, 1, std::string(kThreeVertices) + "<face a='0' b='1' c='2'/>"), false,
         "outside the object's 0 vertices"},
        {Object("o", 4, 1, kThreeVertices), true, "numfaces is 1 but only 0 face tags"},
    };
    for (const Case& c : cases) {
        Loaded r = Load(Model(counts, head + c.object));
        EXPECT_EQ(r.ok, c.ok) << c.object << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        if (!c.ok) {
            EXPECT_TRUE(r.model.objects.empty());
        }
    }
    Loaded many = Load(Model("numsubobjects='4000000000' nummaterials='99999999999999999999' "
                             "numofparallaxmap='-3'",
                             head));
    EXPECT_TRUE(many.ok);
    EXPECT_EQ(many.model.objects.size(), 0u);
    EXPECT_EQ(many.model.materials.size(), 1u);
    EXPECT_EQ(many.model.parallaxMaps.size(), 0u);
}

TEST(CTObjectLoader, UnreadableDocumentsFailWithoutEndingTheProgram) {
    for (const char* xml : {"", "<ZarvoModelFormat><model></ZarvoModelFormat>", "<other/>",
                            "<ZarvoModelFormat><model name='&bad;'/></ZarvoModelFormat>"}) {
        testing::internal::CaptureStderr();
        Loaded r = Load(xml);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(r.ok) << xml;
        EXPECT_NE(err.find("XML Parsing error inside file 'test.xml'."), std::string::npos);
    }
}

} // namespace
