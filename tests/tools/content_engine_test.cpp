// The generated content read back with the engine's own readers and loaders, and
// compared with what independent tools (ImageMagick, assimp) make of the same files.
#include <gtest/gtest.h>

#include <SDL/SDL_image.h>

#include <cmath>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image/CTGALoader.h"
#include "image/bmp.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"
#include "models/3dsLoader.h"
#include "models/CMD2Loader.h"
#include "tests/support/test_paths.h"
#include "tests/tools/model_info.h"

using namespace content_test;

namespace {

std::vector<uint8_t> ReadData(const std::string& relative) {
    std::string bytes;
    EXPECT_TRUE(zarvo_test::ReadFileBytes(zarvo_test::SourceDir() + "/" + relative, bytes))
        << relative;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The picture as ImageMagick sees it: top row first, `channels` bytes per pixel.
std::vector<uint8_t> ImageMagickPixels(const std::string& relative, int channels) {
    std::string cmd = "convert '" + zarvo_test::SourceDir() + "/" + relative +
                      "' -auto-orient -depth 8 " + (channels == 4 ? "rgba:-" : "rgb:-");
    std::vector<uint8_t> out;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return out;
    uint8_t buf[65536];
    while (size_t n = fread(buf, 1, sizeof buf, pipe))
        out.insert(out.end(), buf, buf + n);
    pclose(pipe);
    return out;
}

// The engine's decode (row 0 = texture row t = 0) turned to top row first.
std::vector<uint8_t> TopDown(const sDecodedImage& image, bool bottomRowFirst) {
    std::vector<uint8_t> out(image.ByteCount());
    for (int y = 0; y < image.height; ++y) {
        int src = bottomRowFirst ? image.height - 1 - y : y;
        std::memcpy(&out[y * image.RowBytes()], &image.pixels[src * image.RowBytes()],
                    image.RowBytes());
    }
    return out;
}

int WorstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return 256;
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
}

bool HaveImageMagick() {
    return std::system("command -v convert > /dev/null 2>&1") == 0;
}

} // namespace

TEST(ContentEngineReaders, SceneAndSkinTexturesDecodeAsImageMagickSeesThem) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick not installed";
    struct Case {
        const char* file;
        int tolerance; // JPEG is lossy between decoders
    };
    const Case cases[] = {
        {"Data/Models/demo/grass.jpg", 12},
        {"Data/Models/demo/concrete.jpg", 12},
        {"Data/Models/demo/paving.tga", 0},
        {"Data/Models/demo/crate.tga", 0},
        {"Data/Models/demo/facade.bmp", 0},
        {"Data/Models/demo/barrel.bmp", 0},
        {"Data/Models/demo/roof.pcx", 0},
        {"Data/Models/demo/brick.pcx", 0},
        {"Data/Models/MD2/McClane/nakatomi1.pcx", 0},
        {"Data/Models/MD2/r2d2/r2d2.pcx", 0},
        {"Data/Models/MD2/fegyver/OwnGun.bmp", 0},
        {"Data/Models/MD3/lara/lara.tga", 0},
        {"Data/Models/MD3/lara/railgun.tga", 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = ReadData(c.file);
        std::string name = c.file, ext = name.substr(name.size() - 3), error;
        sDecodedImage image;
        bool ok = false;
        if (ext == "jpg") ok = DecodeJPEG(file.data(), file.size(), image, error);
        if (ext == "bmp") ok = DecodeBMP(file.data(), file.size(), c.file, image, error);
        if (ext == "pcx") ok = DecodePCX(file.data(), file.size(), image, error) == ePcxResult::Ok;
        if (ext == "tga") ok = tgaDecode(file.data(), file.size(), 0, image, error);
        ASSERT_TRUE(ok) << c.file << ": " << error;
        // Models address textures with t = 0 at the bottom of the picture; the engine's
        // JPEG decoder alone hands the top row first, so JPEGs are kept to textures that
        // read the same either way up.
        std::vector<uint8_t> ours = TopDown(image, ext != "jpg");
        std::vector<uint8_t> theirs = ImageMagickPixels(c.file, image.components);
        EXPECT_LE(WorstDifference(ours, theirs), c.tolerance)
            << c.file << " (" << image.width << "x" << image.height << ")";
    }
}

TEST(ContentEngineReaders, FontsLoadThroughTheFontReaderWithAlpha) {
    for (const char* font : {"Data/Font/font.tga", "Data/Font/fontDemo.tga"}) {
        std::vector<uint8_t> file = ReadData(font);
        CTGALoader loader;
        std::string error;
        ASSERT_TRUE(loader.DecodeTGA(file.data(), file.size(), font, error))
            << font << ": " << error;
        sDecodedImage image;
        ASSERT_TRUE(loader.TakeImage(image));
        EXPECT_EQ(image.width, 256);
        EXPECT_EQ(image.height, 256);
        ASSERT_EQ(image.components, 4);
        // The font's quads put glyph row 0 at the top of texture space (t near 1), and the
        // font reader hands rows to OpenGL in file order: glyph row 0 must be stored last.
        auto inkInCell = [&](int glyph) {
            int cx = glyph % 16 * 16, cyTop = glyph / 16 * 16;
            int ink = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    int row = 255 - (cyTop + y);
                    ink += image.pixels[(row * 256 + cx + x) * 4 + 3] > 128;
                }
            return ink;
        };
        EXPECT_EQ(inkInCell(0), 0) << "space is blank";
        for (char c : {'A', 'g', '#', 'W'}) {
            EXPECT_GT(inkInCell(c - 32), 10) << font << " set 0 '" << c << "'";
            EXPECT_GT(inkInCell(c - 32 + 128), 10) << font << " set 1 '" << c << "'";
        }
        EXPECT_EQ(inkInCell(127 - 32), 0) << "code 127 has no glyph";
    }
}

TEST(ContentEngineLoaders, Md2ModelsLoadWithTheirAnimations) {
    // Where the demos place each model: y and size put its feet on the ground.
    struct Case {
        const char* file;
        int frames, animations, minFaces;
        float placeY, size;
        const char* names; // how the list of animation names begins
    };
    const Case cases[] = {
        {"Data/Models/MD2/McClane/tris.MD2", 198, 20, 500, 24, 1,
         "stand run attack pain1 pain2 pain3 jump flip salute taunt wave point crstnd crwalk "
         "crattak crpain crdeth death1 death2 death3 "},
        {"Data/Models/MD2/r2d2/tris.md2", 52, 3, 200, 10, 0.4f, "stand "},
        {"Data/Models/MD2/fegyver/OwnGun.md2", 34, 3, 100, 0, 0, ""},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = ReadData(c.file);
        t3DModel model;
        CMD2Loader loader;
        ASSERT_TRUE(loader.ImportMD2FromMemory(&model, file.data(), file.size(), "skin.pcx"))
            << c.file << ": " << loader.GetLastError();
        EXPECT_EQ(model.numOfObjects, c.frames) << c.file;
        EXPECT_EQ(model.numOfAnimations, c.animations) << c.file;
        ASSERT_FALSE(model.pObject.empty());
        EXPECT_GE(model.pObject[0].numOfFaces, c.minFaces) << c.file;
        if (c.size > 0) {
            EXPECT_NEAR(c.placeY + c.size * model.pObject[0].boundingBox.min.y, 0.0f, 1.0f)
                << c.file;
        }
        // Every animation starts inside the frame list, in order.
        std::string names;
        for (int a = 0; a < model.numOfAnimations; ++a) {
            EXPECT_GE(model.pAnimations[a].startFrame, 0);
            EXPECT_LT(model.pAnimations[a].startFrame, model.pAnimations[a].endFrame)
                << c.file << " animation " << a;
            EXPECT_LE(model.pAnimations[a].endFrame, c.frames - 1);
            names += std::string(model.pAnimations[a].strName) + " ";
        }
        EXPECT_EQ(names.rfind(c.names, 0), 0u) << c.file << ": " << names;
        // Normals are unit length (every vertex is used by a face).
        for (int v = 0; v < model.pObject[0].numOfVerts; ++v) {
            const CVector3& n = model.pObject[0].pNormals[v];
            EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0f, 1e-3f)
                << c.file << " vertex " << v;
        }
        ReleaseModel(model);
    }
}

TEST(ContentEngineLoaders, SceneLoadsWithTexturedMeshesAndGroundAtZero) {
    std::vector<uint8_t> file = ReadData("Data/Models/demo/26_okolie.3DS");
    t3DModel model;
    CLoad3DS loader;
    ASSERT_TRUE(loader.Import3DSFromMemory(&model, file.data(), file.size(), false));
    EXPECT_EQ(model.numOfMaterials, 8);
    EXPECT_LE(model.numOfMaterials, 10) << "the scene object holds ten textures";
    EXPECT_GE(model.numOfObjects, 10);
    for (const t3DObject& mesh : model.pObject) {
        EXPECT_GE(mesh.materialID, 0) << mesh.strName;
        EXPECT_TRUE(mesh.bHasTexture)
            << mesh.strName << ": untextured meshes draw white in the buffer path";
        EXPECT_EQ(mesh.numTexVertex, mesh.numOfVerts) << mesh.strName;
    }
    // Placed at (0, 51, 0) with size (7, 15, 7): ground at world y = 0.
    EXPECT_NEAR(51 + 15 * model.boundingBox.min.y, 0.0f, 0.01f);
    EXPECT_GT(7 * model.boundingBox.max.x, 100.0f);
    ReleaseModel(model);
}

TEST(ContentEngineLoaders, AssimpAgreesWithTheEngineOnCountsAndBounds) {
    if (RunCommand("command -v assimp").find("assimp") == std::string::npos)
        GTEST_SKIP() << "assimp CLI not installed";
    struct Case {
        const char* file;
        bool scene;
    };
    const Case cases[] = {{"Data/Models/MD2/McClane/tris.MD2", false},
                          {"Data/Models/MD2/r2d2/tris.md2", false},
                          {"Data/Models/demo/26_okolie.3DS", true}};
    for (const Case& c : cases) {
        std::vector<uint8_t> file = ReadData(c.file);
        t3DModel model;
        Extents ours;
        if (c.scene) {
            CLoad3DS loader;
            ASSERT_TRUE(loader.Import3DSFromMemory(&model, file.data(), file.size(), false));
            for (const t3DObject& mesh : model.pObject)
                ours.faces += mesh.numOfFaces;
            ours.lo = {model.boundingBox.min.x, model.boundingBox.min.y, model.boundingBox.min.z};
            ours.hi = {model.boundingBox.max.x, model.boundingBox.max.y, model.boundingBox.max.z};
        } else {
            CMD2Loader loader;
            ASSERT_TRUE(loader.ImportMD2FromMemory(&model, file.data(), file.size(), nullptr));
            const sBoundingBox& box = model.pObject[0].boundingBox; // frame 0, y up
            ours.faces = model.pObject[0].numOfFaces;
            ours.lo = {box.min.x, box.min.y, box.min.z};
            ours.hi = {box.max.x, box.max.y, box.max.z};
        }
        ReleaseModel(model);
        Extents theirs;
        ASSERT_TRUE(AssimpInfo(zarvo_test::SourceDir() + "/" + c.file, theirs)) << c.file;
        EXPECT_EQ(ours.faces, theirs.faces) << c.file;
        ExpectSameExtents(ours, theirs, 0.02f, c.file);
    }
}

TEST(ContentEngineReaders, PngsLoadThroughSdlImageAsRgbaSurfaces) {
    // The texture object uploads the surface's pixels as they are: GL_RGBA needs a
    // 32-bit surface with an alpha mask and rows without padding.
    int count = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(zarvo_test::SourceDir() + "/Data")) {
        std::string ext = entry.path().extension().string();
        if (ext != ".png" && ext != ".PNG") continue;
        ++count;
        SDL_Surface* surface = IMG_Load(entry.path().c_str());
        ASSERT_NE(surface, nullptr) << entry.path() << ": " << IMG_GetError();
        EXPECT_EQ(surface->format->BytesPerPixel, 4) << entry.path();
        EXPECT_NE(surface->format->Amask, 0u) << entry.path();
        EXPECT_EQ(surface->pitch, surface->w * 4) << entry.path();
        SDL_FreeSurface(surface);
    }
    EXPECT_GT(count, 25);
}
