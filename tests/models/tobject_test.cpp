#include <gtest/gtest.h>

#include "model_fixtures.h"
#include "models/CTObject.h"
#include "render3d/C3DGameObject.h"

using namespace model_test;

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
    std::string out, error;
};

Loaded Load(const std::string& xml) {
    g_Textures.clear();
    CTObjectLoader loader;
    loader.SetTextureLoader(RecordTexture);
    Loaded r;
    testing::internal::CaptureStdout();
    r.ok = loader.LoadModelFromMemory(Bytes(xml), xml.size(), "test.xml", r.model);
    r.out = testing::internal::GetCapturedStdout();
    r.error = loader.GetLastError();
    return r;
}

const std::string kMaterial = "<material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
                              "<diffuse r='1' g='0.5' b='0.25' a='1'/>"
                              "<specular r='0' g='0' b='0' a='1'/>";
const std::string kCounts = "numsubobjects='1' nummaterials='1' numofparallaxmap='";
const std::string kFourVertices = "<vertex x='0' y='0' z='0' u0='0' v0='0'/>"
                                  "<vertex x='1' y='0' z='0' u0='1' v0='0'/>"
                                  "<vertex x='1' y='1' z='0' v0='1' r='0.5'/>"
                                  "<vertex x='0' y='1' z='0' u0='0' v0='1'/>";

std::string XmlModel(const std::string& counts, const std::string& body,
                     const char* name = " name='t'") {
    return "<?xml version='1.0'?><ZarvoModelFormat><model" + std::string(name) + " " + counts +
           ">" + body + "</model></ZarvoModelFormat>";
}

std::string Object(int numVertices, int numFaces, const std::string& content) {
    return "<object name='o' numvertices='" + std::to_string(numVertices) + "' numfaces='" +
           std::to_string(numFaces) + "'><position x='1' y='2' z='3'/>" +
           "<orientation angle='90' x='0' y='1' z='0'/>" + content + "</object>";
}

// A unit floor quad facing up (a, b, c at z > x; c, d, a at z < x) and a triangle beside
// it, both of diffuse (1, 0.5, 0.25).
const std::string kFloor = XmlModel(
    kCounts + "0'",
    kMaterial +
        "</material><object name='o' numvertices='7' numfaces='2'>"
        "<vertex x='-1' y='0' z='-1'/><vertex x='-1' y='0' z='1'/><vertex x='1' y='0' z='1'/>"
        "<vertex x='1' y='0' z='-1'/><vertex x='3' y='0' z='-1'/><vertex x='3' y='0' z='1'/>"
        "<vertex x='5' y='0' z='1'/><face a='0' b='1' c='2' d='3' materialindex='0'/>"
        "<face a='4' b='5' c='6' materialindex='0'/></object>");

bool LoadObject(CTObject& object, const std::string& xml) {
    const std::string path = TempFile("floor.xml", xml);
    CTObjectLoader loader;
    loader.SetTextureLoader([](const std::string&) { return -1; });
    bool ok = false;
    Quiet([&] { ok = object.Init(path.c_str(), loader); });
    return ok;
}

} // namespace

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
    EXPECT_EQ((std::vector<int>{f.a, f.b, f.c, f.d, f.materialIndex}),
              (std::vector<int>{10, 19, 20, 11, 0}));
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
    const std::string faces =
        "<face a='0' b='1' c='2' materialindex='0'/><face a='0' b='1' c='2' d='3'/>";
    Loaded r = Load(XmlModel(kCounts + "0'", kMaterial + "</material>" +
                                                 Object(4, 2, kFourVertices + faces) +
                                                 Object(3, 0, kFourVertices)));
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
    const std::string none = "numsubobjects='0' nummaterials='0' numofparallaxmap='0'";
    const std::string one = "numsubobjects='0' nummaterials='1' numofparallaxmap='0'";
    const struct {
        std::string xml, message;
    } cases[] = {
        {XmlModel(none, "", ""), "Model Name not found in the xml!"},
        {XmlModel("nummaterials='0' numofparallaxmap='0'", ""), "numsubobjects tag not found"},
        {XmlModel(
             "numsubobjects='0' nummaterials='2' numofparallaxmap='0'",
             "<material name='m'/><material name='n' opacity='1'><texture colormap='late.png'/>"
             "</material>"),
         "opacity attribute not found in material tag! Not a valid Zarvo Engine Model file!"},
        {XmlModel(one, "<material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
                       "<diffuse r='1' g='1' a='1'/></material>"),
         "\ngb attribute not found in the diffuse tag! Not a valid Zarvo Engine Model file!\n"},
        {XmlModel(one, kMaterial + "<texture/></material>"), "colormap attribute not found"},
        {XmlModel("numsubobjects='0' nummaterials='0' numofparallaxmap='1'",
                  "<parallaxmap><texture/></parallaxmap>"),
         "heightmap attribute not found in the texture tag!"}};
    for (const auto& c : cases) {
        Loaded r = Load(c.xml);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_TRUE(r.model.objects.empty() && r.model.materials.empty());
        EXPECT_EQ(r.model.totalVertices, 0u);
        EXPECT_TRUE(g_Textures.empty()) << "loading went on after the message";
    }
}

TEST(CTObjectLoader, IndicesAndCountsFromTheFileAreChecked) {
    const std::string head = kMaterial + "</material><parallaxmap/>";
    const struct {
        int numVertices, numFaces;
        std::string faces;
        bool ok;
        const char* message;
    } cases[] = {
        {4, 1, "<face a='0' b='1' c='4'/>", false, "outside the object's 4 vertices"},
        {4, 1, "<face a='-1' b='1' c='2'/>", false, "outside the object's 4 vertices"},
        {4, 1, "<face a='0' b='1' c='2' d='9'/>", false, "outside the object's 4 vertices"},
        {4, 1, "<face a='0' b='1' c='2'/>", true, ""},
        {4, 1, "<face a='0' b='1' c='2' materialindex='1'/>", false, "refers to material 1 of 1"},
        {4, 1, "<face a='0' b='1' c='2' parallaxmapindex='7'/>", false,
         "refers to parallax map 7 of 1"},
        // Counts beyond what is present are cut to it, however large.
        {2000000000, 99999999, "<face a='0' b='1' c='3'/>", true,
         "numvertices is 2000000000 but only 4 vertex tags are present; reading 4."},
        {-5, 1, "<face a='0' b='1' c='2'/>", false, "outside the object's 0 vertices"},
        {4, 1, "", true, "numfaces is 1 but only 0 face tags"}};
    for (const auto& c : cases) {
        Loaded r = Load(XmlModel(
            kCounts + "1'", head + Object(c.numVertices, c.numFaces, kFourVertices + c.faces)));
        EXPECT_EQ(r.ok, c.ok) << c.faces << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_TRUE(c.ok || r.model.objects.empty()) << c.faces;
    }
    Loaded many = Load(XmlModel("numsubobjects='4000000000' nummaterials='99999999999999999999' "
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

TEST(CTObject, RayHitsColourFaces) {
    CTObject floor;
    ASSERT_TRUE(LoadObject(floor, kFloor));
    EXPECT_EQ(floor.GetModelVertexNum(), 7);
    // First triangle of the quad: diffuse times the light term, the light (no light
    // manager: straight above) shining onto the face.
    CRay lit = MakeRay({-0.5f, 10, 0.5f}, {0, -1, 0});
    floor.CheckRayHit(lit);
    ASSERT_TRUE(lit.isHit());
    EXPECT_GT(lit.GetColorR(), 0.99f);
    EXPECT_NEAR(lit.GetColorG(), 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(lit.GetDistance(), 10.0f);
    // Second triangle of the quad and a triangle face: the plain diffuse colour.
    for (float x : {0.5f, 3.5f}) {
        CRay ray = MakeRay({x, 10, x < 1 ? -0.5f : 0.5f}, {0, -1, 0});
        floor.CheckRayHit(ray);
        ASSERT_TRUE(ray.isHit()) << x;
        EXPECT_FLOAT_EQ(ray.GetColorB(), 0.25f);
    }
    CRay away = MakeRay({0.5f, 10, -0.5f}, {0, 1, 0}); // the face is behind the origin
    floor.CheckRayHit(away);
    EXPECT_FALSE(away.isHit());
}

TEST(CTObject, FailedLoadsLeaveAnEmptyObjectThatStillWorks) {
    CTObject broken;
    std::string bad = kFloor;
    bad.replace(bad.find("c='6'"), 5, "c='60'");
    EXPECT_FALSE(LoadObject(broken, bad));
    EXPECT_FALSE(broken.IsLoaded());
    EXPECT_EQ(broken.GetModelVertexNum(), 0);
    EXPECT_EQ(broken.GetTransformedModelLevelBBMaxPoint()->x, 0.0f);
    // No GL context here: drawing an empty model must not reach GL at all.
    broken.Draw(true);
    broken.DrawParallax(true);
    broken.DrawBoundingBox();
    broken.BuildShadowVolume(CVector3(0, 10, 0));
    broken.RenderToStencilV();
    CRay ray = MakeRay({0, 10, 0}, {0, -1, 0});
    broken.CheckRayHit(ray);
    EXPECT_FALSE(ray.isHit());

    // Through the scene object: the program goes on, the object is empty.
    C3DGameObject object;
    char missing[] = "/nonexistent/model.xml";
    testing::internal::CaptureStderr();
    object.LoadZarvoModel(missing);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Error: File not found"),
              std::string::npos);
    EXPECT_EQ(object.GetModelKind(), MODEL_KIND_ZARVO);
    ASSERT_NE(object.GetModel(), nullptr);
    EXPECT_EQ(object.GetObjectVertexNum(), 0);
    object.SetPosition(5, 5, 5);
    object.CheckRayHit(ray);
    EXPECT_FALSE(ray.isHit());
}
