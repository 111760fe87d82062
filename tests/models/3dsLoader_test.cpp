#include "models/3dsLoader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model_builders.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

bool Load(t3DModel& model, const std::string& bytes, CLoad3DS& loader, bool swap = false) {
    return loader.Import3DSFromMemory(&model, reinterpret_cast<const uint8_t*>(bytes.data()),
                                      bytes.size(), swap);
}

std::string ReadCorpus(const char* file) {
    std::string bytes;
    zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/" + file, bytes);
    return bytes;
}

} // namespace

TEST(CLoad3DS, RoomMatchesItsFactsAndAssimpBounds) {
    ZARVO_REQUIRE_CORPUS();
    const std::string bytes = ReadCorpus("models/room.3ds");
    ASSERT_EQ(bytes.size(), 5508u);
    struct Mesh {
        const char* name;
        int verts, faces, uvs;
    };
    const Mesh meshes[] = {{"mesh02", 14, 20, 14},
                           {"mesh03", 14, 20, 14},
                           {"mesh04", 14, 20, 14},
                           {"mesh01", 74, 96, 74}};
    for (bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "swapped" : "file axes");
        CLoad3DS loader;
        t3DModel model;
        ASSERT_TRUE(Load(model, bytes, loader, swap)) << loader.GetLastError();
        ASSERT_EQ(model.numOfObjects, 4);
        int faces = 0;
        for (int i = 0; i < 4; ++i) {
            const t3DObject& o = model.pObject[size_t(i)];
            EXPECT_STREQ(o.strName, meshes[i].name);
            EXPECT_EQ(o.numOfVerts, meshes[i].verts);
            EXPECT_EQ(o.numOfFaces, meshes[i].faces);
            EXPECT_EQ(o.numTexVertex, meshes[i].uvs);
            EXPECT_EQ(o.materialID, 0);
            EXPECT_FALSE(o.bHasTexture);
            EXPECT_EQ(o.arrayVertexCount, o.numOfFaces * 3);
            for (int v = 0; v < o.numOfVerts; ++v)
                ASSERT_NEAR(Magnitude(o.pNormals[v]), 1.0f, 1e-4f);
            faces += o.numOfFaces;
        }
        EXPECT_EQ(faces, 156); // assimp's face count
        EXPECT_EQ(model.numOfVertices, 156 * 3);
        ASSERT_EQ(model.numOfMaterials, 1);
        EXPECT_STREQ(model.pMaterials[0].strName, " -- default --");
        EXPECT_STREQ(model.pMaterials[0].strFile, "");
        // Without the swap the file's axes; with it (x, z, -y), which is what assimp reports.
        const float fileMin[3] = {-406.9888f, -349.0432f, -0.0002f};
        const float fileMax[3] = {402.3912f, 351.9168f, 503.77f};
        const float assimpMin[3] = {-406.9888f, -0.00024f, -351.916809f};
        const float assimpMax[3] = {402.391205f, 503.769989f, 349.043213f};
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(model.boundingBox.min.GetArray()[k], swap ? assimpMin[k] : fileMin[k],
                        1e-3f);
            EXPECT_NEAR(model.boundingBox.max.GetArray()[k], swap ? assimpMax[k] : fileMax[k],
                        1e-3f);
        }
        ReleaseModel(model);
    }
}

TEST(CLoad3DS, SwapTurnsZUpIntoYUp) {
    const std::string file = Build3ds(Mesh("m", VertexList({1, 2, 3}) + FaceList({0, 0, 0})));
    CLoad3DS loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, file, loader, true));
    const CVector3& v = model.pObject[0].pVerts[0];
    EXPECT_FLOAT_EQ(v.x, 1);
    EXPECT_FLOAT_EQ(v.y, 3);
    EXPECT_FLOAT_EQ(v.z, -2);
    ReleaseModel(model);
}

TEST(CLoad3DS, NormalsPointAgainstTheFaceCrossProduct) {
    CLoad3DS loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, Build3ds(TriangleMesh()), loader));
    // Cross(p0 - p2, p2 - p1) of (0,0,0), (1,0,0), (0,1,0) is (0, 0, -1); 3DS flips it.
    for (int v = 0; v < 3; ++v) {
        EXPECT_FLOAT_EQ(model.pObject[0].pNormals[v].z, 1.0f);
        EXPECT_FLOAT_EQ(model.pObject[0].pNormals[v].x, 0.0f);
    }
    EXPECT_FLOAT_EQ(model.boundingSphere.center.x, 1.0f / 3);
    ReleaseModel(model);
}

TEST(CLoad3DS, VersionAboveThreeWarnsOnceAndLoads) {
    CLoad3DS loader;
    t3DModel model;
    testing::internal::CaptureStdout();
    const bool ok = Load(model, Build3ds(TriangleMesh(), 4), loader);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "This 3DS file is over version 3 so it may load incorrectly\n");
    EXPECT_TRUE(ok);
    EXPECT_EQ(model.numOfObjects, 1);
    ReleaseModel(model);
}

TEST(CLoad3DS, FileNotStartingWithPrimaryFails) {
    CLoad3DS loader;
    t3DModel model;
    EXPECT_FALSE(Load(model, Chunk(0x3D3D, TriangleMesh()), loader));
    EXPECT_EQ(loader.GetLastError(), "Unable to load PRIMARY chuck from file");
    EXPECT_FALSE(Load(model, "MM", loader));
    EXPECT_EQ(loader.GetLastError(), "Unable to load PRIMARY chuck from file");
    char file[] = "no/such/scene.3ds";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loader.Import3DS(&model, file, false));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Unable to find the file: no/such/scene.3ds!\n");
}

TEST(CLoad3DS, MaterialsTexturesAndColours) {
    std::string floatColour;
    for (float f : {1.0f, 0.5f, 0.0f})
        PutF32(floatColour, f);
    const std::string floatMaterial =
        Chunk(0xAFFF, Chunk(0xA000, Cstr("glow")) + Chunk(0xA020, Chunk(0x0010, floatColour)));
    const std::string file = Build3ds(Material("wood", "wood.bmp", 200, 100, 50) + floatMaterial +
                                      TriangleMesh("a", "wood") + TriangleMesh("b", "glow") +
                                      TriangleMesh("c", "missing"));
    CLoad3DS loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, file, loader)) << loader.GetLastError();
    ASSERT_EQ(model.numOfMaterials, 2);
    EXPECT_STREQ(model.pMaterials[0].strFile, "wood.bmp");
    EXPECT_EQ(model.pMaterials[0].color[0], 200);
    EXPECT_EQ(model.pMaterials[1].color[0], 255);
    EXPECT_EQ(model.pMaterials[1].color[1], 128);
    EXPECT_EQ(model.pMaterials[1].color[2], 0);
    EXPECT_EQ(model.pObject[0].materialID, 0);
    EXPECT_TRUE(model.pObject[0].bHasTexture);
    EXPECT_EQ(model.pObject[1].materialID, 1);
    EXPECT_FALSE(model.pObject[1].bHasTexture);
    EXPECT_EQ(model.pObject[2].materialID, -1);

    // A textured mesh without coordinates gets zeros in its buffer; colours are material / 255.
    t3DSCornerArrays a = CLoad3DS::BuildCornerArrays(model, model.pObject[0]);
    ASSERT_EQ(a.texCoords.size(), 6u);
    for (float f : a.texCoords)
        EXPECT_EQ(f, 0.0f);
    ASSERT_EQ(a.colors.size(), 9u);
    EXPECT_FLOAT_EQ(a.colors[0], 200 / 255.0f);
    EXPECT_EQ(a.positions.size(), 9u);
    // Untextured with an unknown material in a model with materials: white.
    t3DSCornerArrays c = CLoad3DS::BuildCornerArrays(model, model.pObject[2]);
    EXPECT_TRUE(c.texCoords.empty());
    ASSERT_EQ(c.colors.size(), 9u);
    EXPECT_FLOAT_EQ(c.colors[0], 1.0f);
    ReleaseModel(model);
}

TEST(CLoad3DS, LongNamesAreCutAndShortCoordinateListsPadded) {
    const std::string longName(400, 'n');
    const std::string mesh = Mesh(longName, VertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}) +
                                                UvList({0.5f, 0.25f}) + FaceList({0, 1, 2}));
    CLoad3DS loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, Build3ds(Material(longName, longName) + mesh), loader));
    EXPECT_EQ(std::string(model.pObject[0].strName), longName.substr(0, 254));
    EXPECT_EQ(std::string(model.pMaterials[0].strFile), longName.substr(0, 254));
    ASSERT_EQ(model.pObject[0].numTexVertex, 3);
    EXPECT_FLOAT_EQ(model.pObject[0].pTexVerts[0].x, 0.5f);
    EXPECT_FLOAT_EQ(model.pObject[0].pTexVerts[2].x, 0.0f);
    ReleaseModel(model);
}

TEST(CLoad3DS, RejectsDamagedChunksWithAClearMessage) {
    struct Case {
        const char* what;
        std::string file;
        const char* message;
    };
    std::string tooLong = Build3ds(TriangleMesh());
    SetI32(tooLong, 2, int32_t(tooLong.size() + 1));
    std::string childTooLong = Build3ds(TriangleMesh());
    SetI32(childTooLong, 6 + 10 + 2, 1 << 20); // the object-info chunk's length
    std::string tinyChunk = Build3ds(TriangleMesh());
    SetI32(tinyChunk, 6 + 2, 3); // the version chunk's length
    std::string nested = Chunk(0x4100, "");
    for (int i = 0; i < 100; ++i)
        nested = Chunk(0x4100, nested);
    std::string shortVertices;
    PutI16(shortVertices, 50);
    const Case cases[] = {
        {"primary longer than the file", tooLong, "longer than its parent"},
        {"child longer than its parent", childTooLong, "longer than its parent"},
        {"chunk shorter than its header", tinyChunk, "longer than its parent"},
        {"deep nesting", Build3ds(Chunk(0x4000, Cstr("deep") + nested)), "nested too deeply"},
        {"unterminated name", Build3ds(Chunk(0x4000, "abc")), "terminating zero"},
        {"vertex count past the chunk", Build3ds(Mesh("m", Chunk(0x4110, shortVertices))),
         "vertex list longer"},
        {"face index out of range",
         Build3ds(Mesh("m", VertexList({0, 0, 0, 1, 0, 0}) + FaceList({0, 1, 2}))),
         "face vertex index out of range"},
        {"faces without vertices", Build3ds(Mesh("m", FaceList({0, 0, 0}))),
         "face vertex index out of range"},
        {"truncated", Build3ds(TriangleMesh()).substr(0, 40), "longer than its parent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLoad3DS loader;
        t3DModel model;
        EXPECT_FALSE(Load(model, c.file, loader));
        EXPECT_NE(loader.GetLastError().find(c.message), std::string::npos)
            << loader.GetLastError();
        EXPECT_TRUE(model.pObject.empty());
        EXPECT_EQ(model.numOfObjects, 0);
        EXPECT_EQ(model.numOfMaterials, 0);
    }
}
