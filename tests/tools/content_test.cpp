// The generated Data/ tree: complete, reproducible, read right by the engine's own readers
// and loaders, and read the same way by independent tools (ImageMagick, assimp).
#include <gtest/gtest.h>

#include <SDL/SDL_image.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "image/CTGALoader.h"
#include "image/bmp.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"
#include "models/3dsLoader.h"
#include "models/CMD2Loader.h"
#include "support/program_run.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;

namespace {

std::string Path(const std::string& relative) {
    return zarvo_test::SourceDir() + "/" + relative;
}

std::string Read(const std::string& relative) {
    std::string bytes;
    EXPECT_TRUE(zarvo_test::ReadFileBytes(Path(relative), bytes)) << relative;
    return bytes;
}

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

// Runs a command found on the PATH, output and errors together.
zarvo_test::ProgramRun Shell(const std::string& command) {
    return zarvo_test::RunProgram(command, "", "", "/usr/bin/env");
}

bool HaveTool(const std::string& name) {
    return Shell("which " + name).status == 0;
}

std::vector<std::string> FilesUnder(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root + "/Data"))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string LowerExtension(const std::string& file) {
    std::string ext = fs::path(file).extension().string();
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

template <typename T> T Get(const std::string& b, size_t at) {
    T v{};
    if (at + sizeof(T) <= b.size()) std::memcpy(&v, b.data() + at, sizeof(T));
    return v;
}

// 3DS material texture names, resolved in the scene's folder.
void Walk3dsTextures(const std::string& b, size_t from, size_t to, std::vector<std::string>& out) {
    while (from + 6 <= to) {
        const uint16_t id = Get<uint16_t>(b, from);
        const uint32_t len = Get<uint32_t>(b, from + 2);
        if (len < 6 || from + len > to) return;
        if (id == 0x4D4D || id == 0x3D3D || id == 0xAFFF || id == 0xA200)
            Walk3dsTextures(b, from + 6, from + len, out);
        if (id == 0xA300) out.push_back("Data/Models/demo/" + std::string(b.c_str() + from + 6));
        from += len;
    }
}

} // namespace

// The demos' own files are checked by running each demo; the textures models name and the
// readers the scene exercises are checked here.
TEST(Content, EveryTextureAModelNamesExistsAndTheSceneUsesEveryReader) {
    // Textures named by the scene's materials, the MD3 skins and shader, and the XML model.
    std::vector<std::string> textures;
    const std::string scene = Read("Data/Models/demo/26_okolie.3DS");
    Walk3dsTextures(scene, 0, scene.size(), textures);
    std::map<std::string, int> sceneKinds;
    for (const std::string& t : textures)
        sceneKinds[LowerExtension(t)]++;
    for (const char* ext : {".jpg", ".tga", ".bmp", ".pcx"})
        EXPECT_GT(sceneKinds[ext], 0) << "scene lacks a " << ext << " texture";
    for (const char* list :
         {"lara_lower.skin", "lara_upper.skin", "lara_head.skin", "Railgun.shader"}) {
        std::istringstream lines(Read("Data/Models/MD3/lara/" + std::string(list)));
        for (std::string line; std::getline(lines, line);)
            if (!line.empty())
                textures.push_back("Data/Models/MD3/lara/" +
                                   line.substr(line.find_last_of("/,") + 1));
    }
    const std::string xml = Read("Data/TModel/planeParralax.xml"); // paths from the working dir
    for (const char* attr : {"colormap=\"", "heightmap=\""}) {
        const size_t at = xml.find(attr) + std::strlen(attr);
        ASSERT_GT(at, std::strlen(attr)) << attr;
        textures.push_back(xml.substr(at, xml.find('"', at) - at));
    }
    EXPECT_GE(textures.size(), 10u);
    for (const std::string& t : textures)
        EXPECT_TRUE(fs::is_regular_file(Path(t))) << t;
}

TEST(Content, GeneratorOutputIsIdenticalAcrossRunsAndToTheBuildsData) {
    const std::string a = zarvo_test::MakeTempDir("assets-a"),
                      b = zarvo_test::MakeTempDir("assets-b");
    ASSERT_EQ(zarvo_test::RunProgram(a, "", "", ZARVO_ASSETGEN_EXE).status, 0);
    ASSERT_EQ(zarvo_test::RunProgram(b, "", "", ZARVO_ASSETGEN_EXE).status, 0);
    const std::vector<std::string> files = FilesUnder(a);
    ASSERT_EQ(files, FilesUnder(b));
    ASSERT_EQ(files, FilesUnder(zarvo_test::SourceDir()))
        << "Data/ holds exactly the generated set";
    for (const std::string& f : files) {
        std::string x, y;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(a + "/" + f, x) &&
                    zarvo_test::ReadFileBytes(b + "/" + f, y));
        EXPECT_TRUE(x == y) << f << " differs between two runs";
        EXPECT_TRUE(x == Read(f)) << f << " in Data/ is stale";
    }
    fs::remove_all(a);
    fs::remove_all(b);
}

// Every image passes ImageMagick's strict check; PNGs load through SDL_image, the rest
// through the engine's readers, which must see the pixels ImageMagick sees.
TEST(Content, EveryImageDecodesAsImageMagickSeesIt) {
    if (!HaveTool("identify") || !HaveTool("convert")) GTEST_SKIP() << "ImageMagick not installed";
    const std::string out = zarvo_test::MakeTempDir("magick") + "/pixels";
    int images = 0, pngs = 0;
    for (const std::string& file : FilesUnder(zarvo_test::SourceDir())) {
        const std::string ext = LowerExtension(file);
        if (ext != ".png" && ext != ".tga" && ext != ".pcx" && ext != ".bmp" && ext != ".jpg")
            continue;
        ++images;
        const zarvo_test::ProgramRun run = Shell("identify -regard-warnings '" + Path(file) + "'");
        EXPECT_EQ(run.status, 0) << file << ": " << run.output;
        if (ext == ".png") {
            // The texture object uploads the surface's pixels as they are: GL_RGBA needs a
            // 32-bit surface with an alpha mask and rows without padding.
            ++pngs;
            SDL_Surface* surface = IMG_Load(Path(file).c_str());
            ASSERT_NE(surface, nullptr) << file << ": " << IMG_GetError();
            EXPECT_EQ(surface->format->BytesPerPixel, 4) << file;
            EXPECT_NE(surface->format->Amask, 0u) << file;
            EXPECT_EQ(surface->pitch, surface->w * 4) << file;
            SDL_FreeSurface(surface);
            continue;
        }
        const std::string data = Read(file);
        sDecodedImage image;
        std::string error;
        bool ok = false;
        if (ext == ".jpg") ok = DecodeJPEG(Bytes(data), data.size(), image, error);
        if (ext == ".bmp") ok = DecodeBMP(Bytes(data), data.size(), file.c_str(), image, error);
        if (ext == ".pcx") ok = DecodePCX(Bytes(data), data.size(), image, error) == ePcxResult::Ok;
        if (ext == ".tga") ok = tgaDecode(Bytes(data), data.size(), 0, image, error);
        ASSERT_TRUE(ok) << file << ": " << error;
        // Models address textures with t = 0 at the bottom of the picture; the engine's
        // JPEG decoder alone hands the top row first, so JPEGs are kept to textures that
        // read the same either way up.
        const size_t row = image.RowBytes();
        std::string ours(image.ByteCount(), '\0'), theirs;
        for (int y = 0; y < image.height; ++y)
            std::memcpy(&ours[y * row],
                        &image.pixels[(ext == ".jpg" ? y : image.height - 1 - y) * row], row);
        ASSERT_EQ(Shell("convert '" + Path(file) + "' -auto-orient -depth 8 " +
                        (image.components == 4 ? "rgba:" : "rgb:") + out)
                      .status,
                  0);
        ASSERT_TRUE(zarvo_test::ReadFileBytes(out, theirs));
        ASSERT_EQ(ours.size(), theirs.size()) << file;
        int worst = 0; // JPEG is lossy between decoders
        for (size_t i = 0; i < ours.size(); ++i)
            worst = std::max(worst, std::abs(int(uint8_t(ours[i])) - int(uint8_t(theirs[i]))));
        EXPECT_LE(worst, ext == ".jpg" ? 12 : 0)
            << file << " " << image.width << "x" << image.height;
    }
    EXPECT_GT(images, 40);
    EXPECT_GT(pngs, 25);
}

TEST(Content, FontsLoadThroughTheFontReaderWithGlyphRowZeroStoredLast) {
    for (const char* font : {"Data/Font/font.tga", "Data/Font/fontDemo.tga"}) {
        const std::string file = Read(font);
        CTGALoader loader;
        std::string error;
        ASSERT_TRUE(loader.DecodeTGA(Bytes(file), file.size(), font, error))
            << font << ": " << error;
        sDecodedImage image;
        ASSERT_TRUE(loader.TakeImage(image));
        ASSERT_TRUE(image.width == 256 && image.height == 256 && image.components == 4) << font;
        // The font's quads put glyph row 0 at the top of texture space (t near 1), and the
        // font reader hands rows to OpenGL in file order.
        auto inkInCell = [&](int glyph) {
            int ink = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    ink +=
                        image.pixels[((255 - glyph / 16 * 16 - y) * 256 + glyph % 16 * 16 + x) * 4 +
                                     3] > 128;
            return ink;
        };
        EXPECT_EQ(inkInCell(0), 0) << "space is blank";
        EXPECT_EQ(inkInCell(127 - 32), 0) << "code 127 has no glyph";
        for (char c : {'A', 'g', '#', 'W'}) {
            EXPECT_GT(inkInCell(c - 32), 10) << font << " set 0 '" << c << "'";
            EXPECT_GT(inkInCell(c - 32 + 128), 10) << font << " set 1 '" << c << "'";
        }
    }
}

TEST(Content, Md2ModelsLoadWithTheirAnimationsAndTheSceneWithTexturedMeshes) {
    // placeY and size are where the demos put each model: its feet on the ground.
    struct Case {
        const char* file;
        int frames, animations, minFaces;
        float placeY, size;
        const char* names; // how the list of animation names begins
    };
    for (const Case& c :
         {Case{"Data/Models/MD2/McClane/tris.MD2", 198, 20, 500, 24, 1,
               "stand run attack pain1 pain2 pain3 jump flip salute taunt wave point crstnd "
               "crwalk crattak crpain crdeth death1 death2 death3 "},
          Case{"Data/Models/MD2/r2d2/tris.md2", 52, 3, 200, 10, 0.4f, "stand "},
          Case{"Data/Models/MD2/fegyver/OwnGun.md2", 34, 3, 100, 0, 0, ""}}) {
        const std::string file = Read(c.file);
        t3DModel model;
        CMD2Loader loader;
        ASSERT_TRUE(loader.ImportMD2FromMemory(&model, Bytes(file), file.size(), "skin.pcx"))
            << c.file << ": " << loader.GetLastError();
        EXPECT_EQ(model.numOfObjects, c.frames) << c.file;
        EXPECT_EQ(model.numOfAnimations, c.animations) << c.file;
        ASSERT_FALSE(model.pObject.empty());
        const t3DObject& frame0 = model.pObject[0];
        EXPECT_GE(frame0.numOfFaces, c.minFaces) << c.file;
        const float feet = c.size > 0 ? c.placeY + c.size * frame0.boundingBox.min.y : 0;
        EXPECT_NEAR(feet, 0.0f, 1.0f) << c.file;
        std::string names;
        for (int a = 0; a < model.numOfAnimations; ++a) {
            const tAnimationInfo& anim = model.pAnimations[a];
            EXPECT_TRUE(anim.startFrame >= 0 && anim.startFrame < anim.endFrame &&
                        anim.endFrame < c.frames)
                << c.file << " animation " << a;
            names += std::string(anim.strName) + " ";
        }
        EXPECT_EQ(names.rfind(c.names, 0), 0u) << c.file << ": " << names;
        for (int v = 0; v < frame0.numOfVerts; ++v) // every vertex is used by a face
            EXPECT_NEAR(frame0.pNormals[v].length(), 1.0f, 1e-3f) << c.file << " vertex " << v;
        ReleaseModel(model);
    }

    const std::string scene = Read("Data/Models/demo/26_okolie.3DS");
    t3DModel model;
    CLoad3DS loader;
    ASSERT_TRUE(loader.Import3DSFromMemory(&model, Bytes(scene), scene.size(), false));
    EXPECT_EQ(model.numOfMaterials, 8) << "the scene object holds at most ten textures";
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

namespace {

struct Extents {
    int faces = 0;
    std::array<float, 3> lo{}, hi{};
};

Extents FromBox(int faces, const sBoundingBox& box) {
    return {faces, {box.min.x, box.min.y, box.min.z}, {box.max.x, box.max.y, box.max.z}};
}

// Frame 0 of every surface of an MD3 file, from its header.
Extents Md3Extents(const std::string& b) {
    Extents e{0, {1e9f, 1e9f, 1e9f}, {-1e9f, -1e9f, -1e9f}};
    size_t surf = Get<int32_t>(b, 100);
    for (int s = 0; s < Get<int32_t>(b, 84); ++s) {
        const size_t xyz = surf + Get<int32_t>(b, surf + 100);
        for (int v = 0; v < Get<int32_t>(b, surf + 80); ++v)
            for (int k = 0; k < 3; ++k) {
                const float p = Get<int16_t>(b, xyz + 8 * v + 2 * k) / 64.0f;
                e.lo[k] = std::min(e.lo[k], p), e.hi[k] = std::max(e.hi[k], p);
            }
        e.faces += Get<int32_t>(b, surf + 84);
        surf += Get<int32_t>(b, surf + 104);
    }
    return e;
}

// Extents in assimp's summary of a model file.
bool AssimpInfo(const std::string& file, Extents& e) {
    const std::string out = Shell("assimp info '" + file + "'").output;
    auto point = [&](const char* key, std::array<float, 3>& p) {
        const size_t at = out.find(key);
        return at != std::string::npos && std::sscanf(out.c_str() + at + std::strlen(key),
                                                      " (%f %f %f)", &p[0], &p[1], &p[2]) == 3;
    };
    const size_t faces = out.find("Faces:");
    e.faces = faces == std::string::npos ? -1 : std::atoi(out.c_str() + faces + 6);
    return e.faces > 0 && point("Minimum point", e.lo) && point("Maximum point", e.hi);
}

} // namespace

TEST(Content, AssimpAgreesWithTheEngineOnFacesAndBounds) {
    if (!HaveTool("assimp")) GTEST_SKIP() << "assimp CLI not installed";
    for (const char* file :
         {"Data/Models/MD2/McClane/tris.MD2", "Data/Models/MD2/r2d2/tris.md2",
          "Data/Models/demo/26_okolie.3DS", "Data/Models/MD3/lara/lara_lower.md3",
          "Data/Models/MD3/lara/lara_upper.md3", "Data/Models/MD3/lara/lara_head.md3",
          "Data/Models/MD3/lara/Railgun.md3"}) {
        const std::string data = Read(file), ext = LowerExtension(file);
        Extents ours;
        t3DModel model;
        if (ext == ".3ds") {
            CLoad3DS loader;
            ASSERT_TRUE(loader.Import3DSFromMemory(&model, Bytes(data), data.size(), false));
            ours = FromBox(0, model.boundingBox);
            for (const t3DObject& mesh : model.pObject)
                ours.faces += mesh.numOfFaces;
        } else if (ext == ".md2") {
            CMD2Loader loader;
            ASSERT_TRUE(loader.ImportMD2FromMemory(&model, Bytes(data), data.size(), nullptr));
            ours = FromBox(model.pObject[0].numOfFaces, model.pObject[0].boundingBox); // frame 0
        } else {
            ours = Md3Extents(data);
        }
        ReleaseModel(model);
        Extents theirs;
        ASSERT_TRUE(AssimpInfo(Path(file), theirs)) << file;
        // Faces are the stable count: readers split or join vertices as they please.
        EXPECT_EQ(ours.faces, theirs.faces) << file;
        // Assimp turns axes around per format: the extents match as intervals that may be
        // mirrored, in any axis order.
        std::array<bool, 3> used{};
        for (int a = 0; a < 3; ++a) {
            bool found = false;
            for (int b = 0; b < 3 && !found; ++b) {
                const bool same = std::fabs(ours.lo[a] - theirs.lo[b]) < 0.02f &&
                                  std::fabs(ours.hi[a] - theirs.hi[b]) < 0.02f;
                const bool mirrored = std::fabs(ours.lo[a] + theirs.hi[b]) < 0.02f &&
                                      std::fabs(ours.hi[a] + theirs.lo[b]) < 0.02f;
                if (!used[b] && (same || mirrored)) used[b] = found = true;
            }
            EXPECT_TRUE(found) << file << ": axis " << a << " [" << ours.lo[a] << ", " << ours.hi[a]
                               << "]";
        }
    }
}

TEST(Content, Md3AnimationConfigHasTheStandardOrderAndThePartsItsFrameCounts) {
    std::istringstream order(
        "BOTH_DEATH1 BOTH_DEAD1 BOTH_DEATH2 BOTH_DEAD2 BOTH_DEATH3 BOTH_DEAD3 "
        "TORSO_GESTURE TORSO_ATTACK TORSO_ATTACK2 TORSO_DROP TORSO_RAISE "
        "TORSO_STAND TORSO_STAND2 LEGS_WALKCR LEGS_WALK LEGS_RUN LEGS_BACK "
        "LEGS_SWIM LEGS_JUMP LEGS_LAND LEGS_JUMPB LEGS_LANDB LEGS_IDLE LEGS_IDLECR LEGS_TURN");
    std::istringstream lines(Read("Data/Models/MD3/lara/lara_animation.cfg"));
    std::vector<std::array<int, 2>> ranges;
    std::string name;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        int first = 0, count = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %d", &first, &count), 2) << line;
        ASSERT_TRUE(order >> name) << "more than 25 animations: " << line;
        EXPECT_NE(line.find(name), std::string::npos) << line;
        ranges.push_back({first, count});
    }
    ASSERT_EQ(ranges.size(), 25u);
    // Upper holds the both + torso frames, lower the both + legs frames.
    const int torsoOffset = ranges[13][0] - ranges[6][0];
    EXPECT_EQ(Get<int32_t>(Read("Data/Models/MD3/lara/lara_upper.md3"), 76),
              ranges[12][0] + ranges[12][1]);
    EXPECT_EQ(Get<int32_t>(Read("Data/Models/MD3/lara/lara_lower.md3"), 76),
              ranges[24][0] + ranges[24][1] - torsoOffset);
}
