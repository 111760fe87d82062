#include "support/gl_context.h"

#include <algorithm>
#include <set>

#include "core/Engine.h"
#include "image/gl_texture_probe.h"
#include "model_fixtures.h"
#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "models/CMD3.h"
#include "models/CObj.h"
#include "models/CTObject.h"
#include "render3d/C3DGameObject.h"
#include "render3d/CCamera.h"
#include "render3d/CShaderManager.h"

using namespace model_test;

namespace {

void Look(int size, std::array<double, 3> eye, std::array<double, 3> centre,
          std::array<float, 3> clear = {0, 0, 0}) {
    zarvo_test::PopMatrixStacksToBase();
    zarvo_test::LookAt(size, 500.0, clear.data(), eye.data(), centre.data());
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

// x and y in [-4, 4] on blue, the eye moved by (ex, ey) while the picture stays put.
void Flat(int size, float ex = 0, float ey = 0) {
    Look(size, {0, 0, 1}, {0, 0, 0}, {0, 0, 1});
    zarvo_test::OrthoView(size, size, -4 + ex, 4 + ex, -4 + ey, 4 + ey, 0.1, 100);
    glTranslatef(ex, ey, -5);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

// The colour at pixel (x, y) from the top left, or at (x, y) of a Flat view.
Ints Pixel(int x, int y) {
    const zarvo_test::Rgba p = zarvo_test::ReadPixelTopDown(x, y);
    return {p.r, p.g, p.b};
}
Ints At(int size, float x, float y) {
    return Pixel(int((x + 4) / 8 * size), size - 1 - int((y + 4) / 8 * size));
}

// A quad of side 2 facing +z at x, as two triangles of material "red".
std::string Quad(const std::string& name, float x) {
    return Mesh(name, VertexList({x - 1, -1, 0, x + 1, -1, 0, x + 1, 1, 0, x - 1, 1, 0}) +
                          FaceList({0, 1, 2, 0, 2, 3}, FaceMaterial("red")));
}

TEST(StaticModelsGL, BufferDrawsSkipMeshesOutsideTheViewShowTheirColoursAndCastStencilShadows) {
    ZARVO_REQUIRE_GL(64, 64);
    C3DSObject scene, textured;
    Load3ds(scene, Material("red", "", 255, 0, 0) + Quad("seen", 0) + Quad("aside", 500));
    Load3ds(textured, Material("red", "missing.bmp") + Quad("t", 0));
    ASSERT_TRUE(scene.getModel()->numOfObjects == 2 && scene.getModel()->pObject[0].vertexBuffer);
    Look(64, {0, 0, 5}, {0, 0, 0});
    CFrustum frustum;
    frustum.CalculateFrustum();
    glEnable(GL_CULL_FACE);
    scene.DrawVBO(true, &frustum);
    glDisable(GL_CULL_FACE);
    // Buffers draw in the current colour (white); immediate mode in red.
    EXPECT_TRUE(scene.GetDrawnMeshCount() == 1 && Pixel(1, 1) == Ints({0, 0, 0}));
    EXPECT_EQ(Pixel(32, 32), Ints({255, 255, 255}));
    scene.Draw(true);
    EXPECT_EQ(Pixel(32, 32), Ints({255, 0, 0}));
    scene.SetPosition(-500, 0, 0);
    scene.DrawVBO(true, &frustum);
    EXPECT_EQ(scene.GetDrawnMeshCount(), 1);
    scene.DrawVBO(true, nullptr);
    EXPECT_EQ(scene.GetDrawnMeshCount(), 2);
    // No client array is left pointing into the buffers.
    textured.DrawVBO(true, nullptr);
    EXPECT_TRUE(textured.GetDrawnMeshCount() == 1 && !glIsEnabled(GL_VERTEX_ARRAY) &&
                !glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    // OBJ: two quads with a 2 x 2 red TGA, one far aside.
    std::string texture =
        TempFile("red.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x18\0", 18) +
                                std::string("\0\0\xff\0\0\xff\0\0\xff\0\0\xff", 12));
    std::string file =
        TempFile("two.obj", "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nv -1 -1 0\nv 1 -1 0\n"
                            "v 1 1 0\nv -1 1 0\nf 1/1 2/2 3/3 4/4\nv 499 -1 0\n"
                            "v 501 -1 0\nv 501 1 0\nv 499 1 0\nf -4/1 -3/2 -2/3 -1/4\n");
    CObj obj;
    ASSERT_TRUE(obj.Init(&file[0], &texture[0]) && obj.getModel()->numOfObjects == 2 &&
                obj.GetTexture());
    Look(64, {0, 0, 5}, {0, 0, 0});
    obj.DrawVBO(true, &frustum);
    const Ints texel = Pixel(32, 32);
    EXPECT_TRUE(obj.GetDrawnMeshCount() == 1 && texel[0] > 200 && texel[1] < 40 && texel[2] < 40 &&
                Pixel(2, 2)[0] < 20);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    obj.Draw(false);
    EXPECT_GT(Pixel(32, 32)[1], 200);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
    // The quad's shadow on a wall behind it, seen from the side.
    scene.SetPosition(0, 0, 0);
    scene.SetSize(0.5f, 0.5f, 0.5f);
    scene.BuildShadowVolume(CVector3(0, 0, 10));
    ASSERT_TRUE(scene.GetShadowVolumes().size() == 2 &&
                scene.GetShadowVolumes()[0]->GetVolumeVertexCount() == 24);
    Look(64, {2, 0, 6}, {0, 0, -2});
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glTranslatef(0, 0, -2);
    glRectf(-20, -20, 20, 20);
    glTranslatef(0, 0, 2);
    scene.Draw(true);
    scene.RenderToStencilV();
    const std::vector<uint8_t> stencil = zarvo_test::ReadStencilTopDown(64, 64);
    const long shadowed = 64 * 64 - std::count(stencil.begin(), stencil.end(), 0);
    EXPECT_TRUE(shadowed > 20 && shadowed < 64 * 64 / 2) << shadowed;
    GLboolean colourMask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    EXPECT_TRUE(colourMask[0] && !glIsEnabled(GL_STENCIL_TEST));
    glDisable(GL_DEPTH_TEST);
}

// Draws over magenta (no skin colour); the covered pixels' summed depth and their count.
std::pair<double, int> DrawCulled(CMD2Object& model, GLenum cullFace) {
    Look(128, {0, 3, 90}, {0, 3, 0}, {1, 0, 1});
    glEnable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_CULL_FACE);
    glCullFace(cullFace);
    model.Draw(true);
    glDisable(GL_CULL_FACE);
    std::vector<float> depth(128 * 128);
    glReadPixels(0, 0, 128, 128, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    std::pair<double, int> covered{0, 0};
    for (float d : depth)
        covered = d < 1.0f ? std::make_pair(covered.first + d, covered.second + 1) : covered;
    return covered;
}

// The RGB colours of an RGBA image.
std::multiset<uint32_t> Colours(const std::vector<uint8_t>& rgba) {
    std::multiset<uint32_t> colours;
    for (size_t i = 0; i < rgba.size(); i += 4)
        colours.insert(uint32_t(rgba[i]) << 16 | uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
    return colours;
}

TEST(CMD2ObjectGL, DrawnModelShowsItsSkinWithFrontFacesCulled) {
    ZARVO_REQUIRE_CORPUS();
    ZARVO_REQUIRE_GL(128, 128);
    std::string file = zarvo_test::CorpusDir() + "/models/sydney.md2";
    std::string skin = zarvo_test::CorpusDir() + "/models/sydney.bmp";
    CMD2Object model;
    model.SetTickSource([] { return 0u; });
    Quiet([&] { model.Init(&file[0], &skin[0]); }); // the skin goes through texture creation
    ASSERT_NE(model.GetSkinTexture(), 0u);
    const std::multiset<uint32_t> texels =
        Colours(image_test::TexturePixels(model.GetSkinTexture(), 0, GL_RGBA, 4));
    const std::set<uint32_t> skinColours(texels.begin(), texels.end());
    ASSERT_TRUE(skinColours.size() > 20 && !skinColours.count(0xff00ff));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    model.SetAngle(90.0f);
    const std::pair<double, int> front = DrawCulled(model, GL_FRONT);
    ASSERT_GT(front.second, 800) << "the model should fill part of the view";
    std::multiset<uint32_t> onSkin;
    for (uint32_t c : Colours(zarvo_test::ReadFramebufferTopDown(128, 128)))
        if (c != 0xff00ff && skinColours.count(c)) onSkin.insert(c);
    EXPECT_EQ(int(onSkin.size()), front.second);
    EXPECT_GT(std::set<uint32_t>(onSkin.begin(), onSkin.end()).size(), 20u);
    // Culling front faces leaves the outside: nearer than the inside.
    const std::pair<double, int> back = DrawCulled(model, GL_BACK);
    ASSERT_GT(back.second, 0);
    EXPECT_LT(front.first / front.second, back.first / back.second);
}

TEST(CMd3GL, PartsJoinAtTheirTagsAndFollowTheClock) {
    ZARVO_REQUIRE_GL(64, 64);
    // Unit squares stacked along MD3 z: tag_torso rises from 1 to 2, the head sits at 1.
    const std::string dir = zarvo_test::MakeTempDir("md3gl");
    const Md3Part parts[] = {
        {2, {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {0, 0, 2}}}}, {Square("l", -0.5f, 0, 2)}},
        {1, {{{"tag_head", {0, 0, 1}}, {"tag_weapon", {0, 0, 0}}}}, {Square("u", -0.5f, 0)}},
        {1, {}, {Square("h", -0.5f, 0)}}};
    const char* names[] = {"lower", "upper", "head"};
    for (int i = 0; i < 3; ++i) {
        zarvo_test::WriteFileBytes(dir + "/c_" + names[i] + ".md3", BuildMd3(parts[i]));
        zarvo_test::WriteFileBytes(dir + "/c_" + names[i] + ".skin", "tag_torso,\n");
    }
    zarvo_test::WriteFileBytes(dir + "/c_animation.cfg",
                               "0 2 2 10 // LEGS_IDLE\n0 1 1 10 // TORSO_STAND\n");
    std::string folder = dir;
    char name[] = "c";
    C3DGameObject object;
    object.LoadMD3Model(name, &folder[0], nullptr);
    auto* md3 = dynamic_cast<CMd3*>(object.GetModel());
    ASSERT_NE(md3, nullptr);
    uint32_t now = 0;
    md3->GetModel()->SetTickSource([&now] { return now; });
    t3DModel* legs = md3->GetModel()->GetModel(CModelMD3::PART_LOWER);
    object.checkFrustum();
    EXPECT_EQ(
        Join(legs->pAnimations[size_t(legs->currentAnim)].strName, object.IsObjectInFrustum()),
        "LEGS_IDLE 1");
    // Centre column from y = -0.25 in halves: the torso starts at 1, 1.5, 2 units.
    const char* columns[] = {".######..", ".##.####.", ".##..####"};
    for (now = 0; now <= 100; now += 50) {
        Flat(64);
        object.Draw(true);
        std::string column;
        for (float y = -0.25f; y < 4; y += 0.5f)
            column += At(64, 0, y)[0] > 128 ? '#' : '.';
        EXPECT_EQ(column, columns[now / 50]) << now << " ms";
    }
    glEnable(GL_DEPTH_TEST);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(CMd3GL, TonyDrawsTexturedWithItsWeapon) {
    ZARVO_REQUIRE_CORPUS();
    ZARVO_REQUIRE_GL(128, 128);
    std::string folder = zarvo_test::CorpusDir() + "/models/tony";
    char name[] = "tony", weapon[] = "railgun";
    CMd3 tony;
    tony.GetModel()->SetTickSource([] { return 0u; });
    ASSERT_TRUE(tony.Init(name, &folder[0], weapon));
    tony.SetAnim("LEGS_IDLE", "TORSO_STAND");
    Look(128, {0, 10, 70}, {0, 10, 0}, {0.2f, 0.2f, 0.3f});
    glEnable(GL_DEPTH_TEST);
    tony.Draw(true);
    glDisable(GL_TEXTURE_2D);
    const std::multiset<uint32_t> colours = Colours(zarvo_test::ReadFramebufferTopDown(128, 128));
    EXPECT_GT(colours.size() - colours.count(0x33334c), 500u);
    EXPECT_GT(std::set<uint32_t>(colours.begin(), colours.end()).size(), 30u);
}

// "red", "stripes" (two black columns in four) and "step" (height 1 on the right half).
int MakeTexture(const std::string& name) {
    std::vector<uint32_t> px(64 * 64, 0xffffffff);
    for (int i = 0; i < 64 * 64; ++i)
        if (name == "red" || (name == "stripes" && i % 64 / 2 % 2) ||
            (name == "step" && i % 64 < 32))
            px[size_t(i)] = name == "red" ? 0xff0000ff : 0xff000000;
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
        glTexParameteri(GL_TEXTURE_2D, filter, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return int(id);
}

// Rectangles (x0, x1, y0, y1): 'T' textured white quad, 'q' / 't' green quad / triangle.
std::string Rects(const std::vector<std::array<float, 4>>& rects, const std::string& kinds) {
    std::string vertices, faces;
    for (size_t q = 0; q < rects.size(); ++q) {
        const bool textured = kinds[q] == 'T';
        for (int i = 0; i < 4; ++i)
            vertices += "<vertex x='" + std::to_string(rects[q][i == 1 || i == 2]) + "' y='" +
                        std::to_string(rects[q][2 + (i >= 2)]) + "' z='0'" +
                        (textured ? " u0='" + std::to_string(i == 1 || i == 2) + "' v0='" +
                                        std::to_string(i >= 2) + "' r='1' g='1' b='1' a='1'/>"
                                  : " r='0' g='1' b='0' a='1'/>");
        faces += "<face a='" + std::to_string(4 * q) + "' b='" + std::to_string(4 * q + 1) +
                 "' c='" + std::to_string(4 * q + 2) + "'" +
                 (kinds[q] == 't' ? "" : " d='" + std::to_string(4 * q + 3) + "'") +
                 " materialindex='" + (textured ? "0" : "1") + "' parallaxmapindex='0'/>";
    }
    return "<object name='o' numvertices='" + std::to_string(4 * rects.size()) + "' numfaces='" +
           std::to_string(rects.size()) + "'>" + vertices + faces + "</object>";
}

// The objects with materials 0 (textured with `colourMap`), 1 (plain) and height map "step".
bool LoadObject(CTObject& object, const std::string& colourMap, const std::string& objects) {
    const std::string colours = "<ambient r='1' g='1' b='1' a='1'/><diffuse r='1' g='1' b='1' "
                                "a='1'/><specular r='0' g='0' b='0' a='1'/>";
    const std::string parallax = "<parallaxmap><texture heightmap='step'/></parallaxmap>";
    return LoadXml(object,
                   XmlModel("921", "<material name='tex' opacity='1'>" + colours +
                                       "<texture colormap='" + colourMap +
                                       "'/></material><material name='plain' opacity='1'>" +
                                       colours + "</material>" + parallax + objects),
                   MakeTexture);
}

// A 128 x 128 view; the engine's camera and shader table are put back as the test found them.
struct CTObjectGL : testing::Test {
    zarvo_test::ScopedGlobal<CCamera> camera{g_Camera, g_Camera};
    zarvo_test::ScopedGlobal<CShaderManager> shaders{g_ShaderManager, g_ShaderManager};
    void SetUp() override { ZARVO_REQUIRE_GL(128, 128); }
};

TEST_F(CTObjectGL, FacesQuadsTexturesAndFrustum) {
    // Two textured quads, a plain triangle, a textured quad; a second object far aside.
    CTObject object, bare;
    ASSERT_TRUE(LoadObject(
        object, "red",
        Rects({{-3.5f, -2.5f, -1, 1}, {-2, -1, -1, 1}, {0, 1, -1, 1}, {2, 3, -1, 1}}, "TTtT") +
            Rects({{500, 501, -1, 1}}, "T")));
    ASSERT_TRUE(LoadObject(bare, "red", Rects({{0, 1, 0, 1}}, "q")));
    Flat(128);
    CCamera camera;
    camera.GetFrustum()->CalculateFrustum();
    g_Camera = &camera;
    object.Draw(true);
    // Two faces of one texture bind it once; after the untextured face it is bound again.
    EXPECT_EQ(Ints({object.GetDrawnObjectCount(), object.GetTextureBindCount()}), Ints({1, 2}));
    // Both triangles of each quad; the triangle shows its vertex colour, not the texture.
    for (float x0 : {-3.5f, -2.0f, 2.0f})
        for (float x : {x0 + 0.9f, x0 + 0.1f})
            EXPECT_EQ(At(128, x, x < x0 + 0.5f ? 0.9f : -0.9f), Ints({255, 0, 0})) << x;
    EXPECT_EQ(At(128, 0.7f, -0.5f), Ints({0, 255, 0}));
    EXPECT_EQ(At(128, -0.5f, 0), Ints({0, 0, 255})); // background between the faces
    glTexCoord2f(0.25f, 0.75f);
    bare.Draw(true);
    GLfloat tc[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tc);
    EXPECT_EQ(Floats(tc, tc + 2), Floats({0.25f, 0.75f}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(CTObjectGL, ParallaxReliefMovesWithTheEye) {
    g_Camera = nullptr;
    g_ShaderManager = zarvo_test::BuiltInShaders();
    CShader* shader = g_ShaderManager->getDefaultShaders(SHADER_PARALLAX_SHADOW);
    ASSERT_NE(shader, nullptr);
    CTObject plane;
    ASSERT_TRUE(LoadObject(plane, "stripes", Rects({{-4, 4, -4, 4}}, "T")));
    auto draw = [&](float ex, float ey) {
        Flat(128, ex, ey);
        shader->Begin();
        shader->uniform1i("testTexture", 0);
        shader->uniform1i("shadowMap", 1);
        shader->uniform1i("HeightTexture", 2);
        plane.DrawParallax(true);
        shader->End();
        return zarvo_test::ReadFramebufferTopDown(128, 128);
    };
    const std::vector<uint8_t> centre = draw(0, 0);
    // An orthonormal tangent frame, passed to the program.
    const T3DFace& f = plane.GetModel()->objects[0].faces[0];
    const CVector3 frame[3] = {f.normal, f.tangent, f.binormal};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(std::fabs(Dot(frame[i], frame[i]) - 1) < 1e-5f &&
                    std::fabs(Dot(frame[i], frame[(i + 1) % 3])) < 1e-5f)
            << i;
    const GLhandleARB program = shader->getShaderHandler();
    GLfloat tangent[4] = {0, 0, 0, 0};
    glGetUniformfvARB(program, glGetUniformLocationARB(program, "Tangent"), tangent);
    EXPECT_FLOAT_EQ(tangent[0], f.tangent.x);
    const std::vector<uint8_t> moved = draw(3, 1);
    int flatDiff = 0, reliefDiff = 0, flatLit = 0;
    for (int y = 8; y < 120; ++y)
        for (int x = 4; x < 124; ++x) {
            if (x > 58 && x < 70) continue; // the step itself
            const size_t i = size_t(y * 128 + x) * 4;
            (x < 64 ? flatDiff : reliefDiff) += std::abs(int(centre[i]) - int(moved[i])) > 8;
            flatLit += x < 64 && centre[i] > 40;
        }
    EXPECT_TRUE(flatLit > 1000 && flatDiff == 0 && reliefDiff > 500)
        << flatLit << " " << flatDiff << " " << reliefDiff;
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

} // namespace
