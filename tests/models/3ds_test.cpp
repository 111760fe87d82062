#include <gtest/gtest.h>

#include "model_fixtures.h"
#include "models/3dsObject.h"
#include "render3d/CShadowVolume.h"

using namespace model_test;

namespace {

bool Load(t3DModel& model, const std::string& bytes, CLoad3DS& loader, bool swap = false) {
    return loader.Import3DSFromMemory(&model, Bytes(bytes), bytes.size(), swap);
}

// "name vertices/faces/coordinates material texture corners;" for each mesh.
std::string Outline(const t3DModel& m) {
    std::string s;
    for (const t3DObject& o : m.pObject)
        s += std::string(o.strName) + " " + std::to_string(o.numOfVerts) + "/" +
             std::to_string(o.numOfFaces) + "/" + std::to_string(o.numTexVertex) + " m" +
             std::to_string(o.materialID) + (o.bHasTexture ? " t " : " ") +
             std::to_string(o.arrayVertexCount) + "; ";
    return s;
}

} // namespace

TEST(CLoad3DS, RoomMatchesItsFactsAndAssimpBounds) {
    ZARVO_REQUIRE_CORPUS();
    const std::string bytes = Corpus("room.3ds");
    ASSERT_EQ(bytes.size(), 5508u);
    for (bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "swapped" : "file axes");
        CLoad3DS loader;
        Model model;
        ASSERT_TRUE(Load(model, bytes, loader, swap)) << loader.GetLastError();
        EXPECT_EQ(Outline(model), "mesh02 14/20/14 m0 60; mesh03 14/20/14 m0 60; "
                                  "mesh04 14/20/14 m0 60; mesh01 74/96/74 m0 288; ");
        EXPECT_EQ(model.numOfObjects, 4);
        EXPECT_EQ(model.numOfVertices, 156 * 3); // assimp's 156 faces
        for (const t3DObject& o : model.pObject)
            for (int v = 0; v < o.numOfVerts; ++v)
                ASSERT_NEAR(Magnitude(o.pNormals[v]), 1.0f, 1e-4f);
        ASSERT_EQ(model.numOfMaterials, 1);
        EXPECT_STREQ(model.pMaterials[0].strName, " -- default --");
        EXPECT_STREQ(model.pMaterials[0].strFile, "");
        // Without the swap the file's axes; with it (x, z, -y), which is what assimp reports.
        const sBoundingBox& box = model.boundingBox;
        ExpectNear3(box.min, -406.9888f, swap ? -0.00024f : -349.0432f,
                    swap ? -351.9168f : -0.0002f);
        ExpectNear3(box.max, 402.3912f, swap ? 503.77f : 351.9168f, swap ? 349.0432f : 503.77f);
    }
}

TEST(CLoad3DS, NormalsFlipTheFaceCrossProductAndOldVersionsWarn) {
    CLoad3DS loader;
    Model model;
    bool ok = false;
    EXPECT_EQ(Quiet([&] { ok = Load(model, Build3ds(TriangleMesh(), 4), loader); }),
              "This 3DS file is over version 3 so it may load incorrectly\n");
    ASSERT_TRUE(ok);
    // Cross(p0 - p2, p2 - p1) of (0,0,0), (1,0,0), (0,1,0) is (0, 0, -1); 3DS flips it.
    for (int v = 0; v < 3; ++v)
        ExpectNear3(model.pObject[0].pNormals[v], 0, 0, 1, 1e-6f);
    EXPECT_FLOAT_EQ(model.boundingSphere.center.x, 1.0f / 3);
}

TEST(CLoad3DS, MaterialsTexturesColoursAndLongNames) {
    std::string floatColour;
    PutAll(floatColour, {1.0f, 0.5f, 0.0f});
    const std::string glow =
        Chunk(0xAFFF, Chunk(0xA000, Cstr("glow")) + Chunk(0xA020, Chunk(0x0010, floatColour)));
    const std::string file =
        Build3ds(Material("wood", "wood.bmp", 200, 100, 50) + glow + TriangleMesh("a", "wood") +
                 TriangleMesh("b", "glow") + TriangleMesh("c", "missing"));
    CLoad3DS loader;
    Model model;
    ASSERT_TRUE(Load(model, file, loader)) << loader.GetLastError();
    EXPECT_EQ(Outline(model), "a 3/1/0 m0 t 3; b 3/1/0 m1 3; c 3/1/0 m-1 3; ");
    ASSERT_EQ(model.numOfMaterials, 2);
    EXPECT_STREQ(model.pMaterials[0].strFile, "wood.bmp");
    const uint8_t *c0 = model.pMaterials[0].color, *c1 = model.pMaterials[1].color;
    EXPECT_EQ(Ints({c0[0], c1[0], c1[1], c1[2]}), Ints({200, 255, 128, 0}));
    // A textured mesh without coordinates gets zeros in its buffer; colours are material / 255.
    t3DSCornerArrays a = CLoad3DS::BuildCornerArrays(model, model.pObject[0]);
    EXPECT_EQ(a.texCoords, Floats(6, 0.0f));
    ASSERT_EQ(a.colors.size(), 9u);
    EXPECT_FLOAT_EQ(a.colors[0], 200 / 255.0f);
    EXPECT_EQ(a.positions.size(), 9u);
    // Untextured with an unknown material in a model with materials: white.
    t3DSCornerArrays white = CLoad3DS::BuildCornerArrays(model, model.pObject[2]);
    EXPECT_TRUE(white.texCoords.empty());
    EXPECT_EQ(white.colors, Floats(9, 1.0f));

    // Names are cut to fit; a short coordinate list is padded with zeros.
    const std::string name(400, 'n');
    Model named;
    ASSERT_TRUE(
        Load(named,
             Build3ds(Material(name, name) +
                      Mesh(name, VertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}) +
                                     FloatList(0x4140, 2, {0.5f, 0.25f}) + FaceList({0, 1, 2}))),
             loader));
    EXPECT_EQ(std::string(named.pObject[0].strName), name.substr(0, 254));
    EXPECT_EQ(std::string(named.pMaterials[0].strFile), name.substr(0, 254));
    ASSERT_EQ(named.pObject[0].numTexVertex, 3);
    EXPECT_EQ(Floats({named.pObject[0].pTexVerts[0].x, named.pObject[0].pTexVerts[2].x}),
              Floats({0.5f, 0.0f}));
}

TEST(CLoad3DS, RejectsDamagedChunksWithAClearMessage) {
    std::string tooLong = Build3ds(TriangleMesh()), childTooLong = tooLong, tinyChunk = tooLong;
    SetI32(tooLong, 2, int32_t(tooLong.size() + 1));
    SetI32(childTooLong, 6 + 10 + 2, 1 << 20); // the object-info chunk's length
    SetI32(tinyChunk, 6 + 2, 3);               // the version chunk's length
    std::string nested = Chunk(0x4100, "");
    for (int i = 0; i < 100; ++i)
        nested = Chunk(0x4100, nested);
    const struct {
        std::string file;
        const char* message;
    } cases[] = {
        {tooLong, "longer than its parent"},
        {childTooLong, "longer than its parent"},
        {tinyChunk, "longer than its parent"},
        {Build3ds(TriangleMesh()).substr(0, 40), "longer than its parent"},
        {Build3ds(Chunk(0x4000, Cstr("deep") + nested)), "nested too deeply"},
        {Build3ds(Chunk(0x4000, "abc")), "terminating zero"},
        {Build3ds(Mesh("m", Chunk(0x4110, std::string("\x32\0", 2)))), "vertex list longer"},
        {Build3ds(Mesh("m", VertexList({0, 0, 0, 1, 0, 0}) + FaceList({0, 1, 2}))),
         "face vertex index out of range"},
        {Build3ds(Mesh("m", FaceList({0, 0, 0}))), "face vertex index out of range"},
        {Chunk(0x3D3D, TriangleMesh()), "Unable to load PRIMARY chuck from file"},
        {"MM", "Unable to load PRIMARY chuck from file"}};
    for (const auto& c : cases) {
        CLoad3DS loader;
        Model model;
        ExpectRefused(Load(model, c.file, loader), loader.GetLastError(), c.message, model);
    }
}

TEST(C3DSObject, TexturesOfMoreThanTenMaterialsJoinTheFolderAsItStands) {
    EXPECT_EQ(C3DSObject::TexturePath("Data/Models/demo", "floor.bmp"),
              "Data/Models/demofloor.bmp");
    std::string chunks;
    for (int i = 0; i < 12; ++i)
        chunks += Material("m" + std::to_string(i), "t" + std::to_string(i) + ".bmp");
    std::string path = TempFile("many.3ds", Build3ds(chunks + TriangleMesh("tri", "m11")));
    C3DSObject object;
    char folder[] = "tex/";
    const std::string out = Quiet([&] { object.Init(folder, &path[0], false); });
    EXPECT_NE(out.find("tex/t0.bmp\n"), std::string::npos);
    EXPECT_NE(out.find("tex/t11.bmp\n"), std::string::npos);
    ASSERT_EQ(object.getModel()->numOfMaterials, 12);
    EXPECT_EQ(object.getModel()->pMaterials[11].texureId, 11);
    EXPECT_EQ(object.getModel()->pObject[0].materialID, 11);
    EXPECT_EQ(object.GetModelVertexNum(), 3);
}

TEST(C3DSObject, ShadowVolumesAreMadeOncePerMeshAndRebuiltInPlace) {
    std::string path = TempFile("two.3ds", Build3ds(TriangleMesh("a") + TriangleMesh("b")));
    C3DSObject object;
    char folder[] = "";
    object.Init(folder, &path[0], false);
    object.BuildShadowVolume(CVector3(0, 0, 10)); // lights the triangle's face
    ASSERT_EQ(object.GetShadowVolumes().size(), 2u);
    const CShadowVolume* first = object.GetShadowVolumes()[0];
    // A lone lit triangle: three silhouette edges, two wall triangles each.
    EXPECT_EQ(first->GetVolumeVertexCount(), 18u);
    object.BuildShadowVolume(CVector3(0, 0, 0)); // a light at the origin lights nothing
    ASSERT_EQ(object.GetShadowVolumes().size(), 2u);
    EXPECT_EQ(object.GetShadowVolumes()[0], first);
    EXPECT_EQ(first->GetVolumeVertexCount(), 0u);
}
