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
    std::string out;
};

Loaded Load(const std::string& xml) {
    g_Textures.clear();
    CTObjectLoader loader;
    loader.SetTextureLoader(RecordTexture);
    Loaded r;
    testing::internal::CaptureStdout();
    r.ok = loader.LoadModelFromMemory(Bytes(xml), xml.size(), "test.xml", r.model);
    r.out = testing::internal::GetCapturedStdout();
    return r;
}

const std::string kMaterial = "<material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
                              "<diffuse r='1' g='0.5' b='0.25' a='1'/>"
                              "<specular r='0' g='0' b='0' a='1'/>";
const std::string kFourVertices = "<vertex x='0' y='0' z='0' u0='0' v0='0'/>"
                                  "<vertex x='1' y='0' z='0' u0='1' v0='0'/>"
                                  "<vertex x='1' y='1' z='0' v0='1' r='0.5'/>"
                                  "<vertex x='0' y='1' z='0' u0='0' v0='1'/>";

// A model whose sub-object, material and parallax-map counts are the digits of `counts`.
std::string XmlModel(const std::string& counts, const std::string& body,
                     const char* name = " name='t'") {
    return "<?xml version='1.0'?><ZarvoModelFormat><model" + std::string(name) +
           " numsubobjects='" + counts[0] + "' nummaterials='" + counts[1] +
           "' numofparallaxmap='" + counts[2] + "'>" + body + "</model></ZarvoModelFormat>";
}

std::string Object(int numVertices, int numFaces, const std::string& content) {
    return "<object name='o' numvertices='" + std::to_string(numVertices) + "' numfaces='" +
           std::to_string(numFaces) + "'><position x='1' y='2' z='3'/>" +
           "<orientation angle='90' x='0' y='1' z='0'/>" + content + "</object>";
}

// A unit floor quad facing up (a, b, c at z > x; c, d, a at z < x) and a triangle beside
// it, both of diffuse (1, 0.5, 0.25).
const std::string kFloor = XmlModel(
    "110", kMaterial +
               "</material><object name='o' numvertices='7' numfaces='2'>"
               "<vertex x='-1' y='0' z='-1'/><vertex x='-1' y='0' z='1'/>"
               "<vertex x='1' y='0' z='1'/><vertex x='1' y='0' z='-1'/>"
               "<vertex x='3' y='0' z='-1'/><vertex x='3' y='0' z='1'/>"
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

TEST(CTObjectLoader, DemoFloorLoadsAsGeneratedWithOrthonormalTangentFrames) {
    const std::string path = zarvo_test::SourceDir() + "/Data/TModel/planeParralax.xml";
    CTObjectLoader loader;
    loader.SetTextureLoader(RecordTexture);
    g_Textures.clear();
    T3DModel m;
    EXPECT_EQ(Quiet([&] { EXPECT_TRUE(loader.LoadModelFromXML(path.c_str(), m)); }),
              "\nNum of faces: 64");
    ASSERT_EQ(m.objects.size(), 1u);
    EXPECT_EQ(m.name + " " + std::to_string(m.totalVertices) + " " +
                  std::to_string(m.materials[0].textureId),
              "planeParralax 81 10");
    EXPECT_EQ(g_Textures, (std::vector<std::string>{"Data/TModel/cobbles_color.png",
                                                    "Data/TModel/cobbles_height.png"}));
    // Face (i, j) of the 8 x 8 grid: a = 9j + i, then the row above, then across.
    const T3DFace& f = m.objects[0].faces[9];
    EXPECT_EQ(Ints({f.a, f.b, f.c, f.d, f.materialIndex}), Ints({10, 19, 20, 11, 0}));
    EXPECT_EQ(Floats({m.objects[0].vertices[80].u0, m.boundingBox.min.x}), Floats({8, -160}));
    loader.CalculateTangentSpaceVectors(&m);
    for (const T3DFace& face : m.objects[0].faces) {
        EXPECT_NEAR(face.normal.y, 1.0f, 1e-6f);
        const CVector3 vs[3] = {face.normal, face.tangent, face.binormal};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(Dot(vs[i], vs[i]), 1.0f, 1e-5f);
            EXPECT_NEAR(Dot(vs[i], vs[(i + 1) % 3]), 0.0f, 1e-5f);
        }
    }
}

TEST(CTObjectLoader, TrianglesQuadsMissingCoordinatesAndObjectCounts) {
    // Triangle and quad, u0 absent, a material without texture, and only the first of two
    // objects read: the vertex total counts that one only.
    Loaded r = Load(XmlModel(
        "110",
        kMaterial + "</material>" +
            Object(
                4, 2,
                kFourVertices +
                    "<face a='0' b='1' c='2' materialindex='0'/><face a='0' b='1' c='2' d='3'/>") +
            Object(3, 0, kFourVertices)));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.out, "\nWARNING: No colormap information found.\nNum of faces: 2");
    ASSERT_EQ(r.model.objects.size(), 1u);
    const T3DModelObject& o = r.model.objects[0];
    EXPECT_EQ(
        Ints({int(g_Textures.size()), int(r.model.totalVertices), r.model.materials[0].textureId,
              o.faces[0].d, o.faces[1].d, o.faces[1].materialIndex}),
        Ints({0, 4, -1, -1, 3, -1}));
    EXPECT_EQ(Floats({o.vertices[2].u0, o.vertices[2].r, o.angle}), Floats({-1, 0.5f, 90}));
    EXPECT_NEAR(o.faces[0].normal.z, 1.0f, 1e-6f);
}

TEST(CTObjectLoader, FatalAttributesStopLoadingAndLeaveTheModelEmpty) {
    const struct {
        std::string xml, message;
    } cases[] = {
        {XmlModel("000", "", ""), "Model Name not found in the xml!"},
        {"<ZarvoModelFormat><model name='t' nummaterials='0' "
         "numofparallaxmap='0'/></ZarvoModelFormat>",
         "numsubobjects tag not found"},
        {XmlModel("020", "<material name='m'/><material name='n' opacity='1'><texture "
                         "colormap='late.png'/></material>"),
         "opacity attribute not found in material tag! Not a valid Zarvo Engine Model file!"},
        {XmlModel("010", "<material name='m' opacity='1'><ambient r='0' g='0' b='0' "
                         "a='1'/><diffuse r='1' g='1' a='1'/></material>"),
         "\ngb attribute not found in the diffuse tag! Not a valid Zarvo Engine Model file!\n"},
        {XmlModel("010", kMaterial + "<texture/></material>"), "colormap attribute not found"},
        {XmlModel("001", "<parallaxmap><texture/></parallaxmap>"),
         "heightmap attribute not found in the texture tag!"}};
    for (const auto& c : cases) {
        Loaded r = Load(c.xml);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_TRUE(r.model.objects.empty() && r.model.materials.empty() &&
                    r.model.totalVertices == 0);
        EXPECT_TRUE(g_Textures.empty()) << "loading went on after the message";
    }
    // Unreadable documents fail without ending the program.
    for (const char* xml : {"", "<ZarvoModelFormat><model></ZarvoModelFormat>", "<other/>",
                            "<ZarvoModelFormat><model name='&bad;'/></ZarvoModelFormat>"}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Load(xml).ok) << xml;
        EXPECT_NE(testing::internal::GetCapturedStderr().find(
                      "XML Parsing error inside file 'test.xml'."),
                  std::string::npos);
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
        Loaded r = Load(
            XmlModel("111", head + Object(c.numVertices, c.numFaces, kFourVertices + c.faces)));
        EXPECT_EQ(r.ok, c.ok) << c.faces << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_TRUE(c.ok || r.model.objects.empty()) << c.faces;
    }
    Loaded many = Load("<ZarvoModelFormat><model name='t' numsubobjects='4000000000' "
                       "nummaterials='99999999999999999999' numofparallaxmap='-3'>" +
                       head + "</model></ZarvoModelFormat>");
    EXPECT_TRUE(many.ok);
    EXPECT_EQ(Ints({int(many.model.objects.size()), int(many.model.materials.size()),
                    int(many.model.parallaxMaps.size())}),
              Ints({0, 1, 0}));
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
    EXPECT_TRUE(lit.GetColorR() > 0.99f && std::fabs(lit.GetColorG() - 0.5f) < 0.01f);
    EXPECT_FLOAT_EQ(lit.GetDistance(), 10.0f);
    // Second triangle of the quad and a triangle face: the plain diffuse colour; a face
    // behind the ray's origin is not hit.
    for (const auto& [x, z, dy] :
         {std::make_tuple(0.5f, -0.5f, -1), {3.5f, 0.5f, -1}, {0.5f, -0.5f, 1}}) {
        CRay ray = MakeRay({x, 10, z}, {0, float(dy), 0});
        floor.CheckRayHit(ray);
        EXPECT_EQ(ray.isHit(), dy < 0) << x;
        EXPECT_TRUE(dy > 0 || std::fabs(ray.GetColorB() - 0.25f) < 1e-6f) << ray.GetColorB();
    }
}

TEST(CTObject, FailedLoadsLeaveAnEmptyObjectThatStillWorks) {
    CTObject broken;
    std::string bad = kFloor;
    bad.replace(bad.find("c='6'"), 5, "c='60'");
    EXPECT_FALSE(LoadObject(broken, bad));
    EXPECT_TRUE(!broken.IsLoaded() && broken.GetModelVertexNum() == 0);
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
    EXPECT_NE(Quiet([&] { object.LoadZarvoModel(missing); }).find("Error: File not found"),
              std::string::npos);
    EXPECT_EQ(object.GetModelKind(), MODEL_KIND_ZARVO);
    ASSERT_NE(object.GetModel(), nullptr);
    EXPECT_EQ(object.GetObjectVertexNum(), 0);
    object.SetPosition(5, 5, 5);
    object.CheckRayHit(ray);
    EXPECT_FALSE(ray.isHit());
}
