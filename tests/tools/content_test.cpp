// The generated Data/: reproducible, read right by the engine and by ImageMagick and assimp.
#include <gtest/gtest.h>

#include <SDL/SDL_image.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

#include "image/CTGALoader.h"
#include "image/bmp.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"
#include "models/CMD3Loader.h"
#include "models/model_fixtures.h"
#include "support/program_run.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;
using namespace model_test;
using zarvo_test::SourceDir;

namespace {

std::string Read(const std::string& relative) {
    std::string bytes;
    EXPECT_TRUE(zarvo_test::ReadFileBytes(SourceDir() + "/" + relative, bytes)) << relative;
    return bytes;
}
zarvo_test::ProgramRun Shell(const std::string& command) {
    return zarvo_test::RunProgram(command, "", "", "/usr/bin/env");
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

// Assimp's faces and extents; it turns axes per format, so each is (width, |centre|).
void ExpectAssimpAgrees(const std::string& file, int faces, const sBoundingBox& box) {
    const float *lo = box.min.GetArray(), *hi = box.max.GetArray();
    static const bool have = Shell("which assimp").status == 0;
    if (!have) return;
    const std::string out = Shell("assimp info '" + SourceDir() + "/" + file + "'").output;
    float t[6];
    const size_t at = out.find("Faces:"), min = out.find("Minimum point");
    ASSERT_TRUE(at != std::string::npos && min != std::string::npos &&
                std::sscanf(out.c_str() + min, "Minimum point (%f %f %f) Maximum point (%f %f %f)",
                            &t[0], &t[1], &t[2], &t[3], &t[4], &t[5]) == 6)
        << out;
    // Faces are the stable count: readers split or join vertices as they please.
    EXPECT_EQ(faces, std::atoi(out.c_str() + at + 6)) << file;
    std::array<std::pair<float, float>, 3> ours, theirs;
    for (int k = 0; k < 3; ++k) {
        ours[k] = {hi[k] - lo[k], std::fabs(hi[k] + lo[k])};
        theirs[k] = {t[k + 3] - t[k], std::fabs(t[k + 3] + t[k])};
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(std::fabs(ours[k].first - theirs[k].first) < 0.04f &&
                    std::fabs(ours[k].second - theirs[k].second) < 0.04f)
            << file << ": width, centre " << ours[k].first << ", " << ours[k].second;
}

} // namespace

TEST(Content, GeneratorOutputIsIdenticalToTheDataAnEarlierRunMadeForTheBuild) {
    const std::string fresh = zarvo_test::MakeTempDir("assets");
    ASSERT_EQ(zarvo_test::RunProgram(fresh, "", "", ZARVO_ASSETGEN_EXE).status, 0);
    const std::vector<std::string> files = FilesUnder(fresh);
    ASSERT_EQ(files, FilesUnder(SourceDir())) << "Data/ holds exactly the generated set";
    for (const std::string& f : files) {
        std::string bytes;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(fresh + "/" + f, bytes));
        EXPECT_TRUE(bytes == Read(f))
            << f << " differs from the build's (stale or not reproducible)";
    }
}

// PNGs load as SDL_image surfaces, the rest through the engine's readers as ImageMagick sees.
TEST(Content, EveryImageDecodesAsImageMagickSeesIt) {
    if (Shell("which identify convert").status != 0) GTEST_SKIP() << "ImageMagick not installed";
    const std::string out = zarvo_test::MakeTempDir("magick") + "/pixels";
    int images = 0, pngs = 0;
    for (const std::string& file : FilesUnder(SourceDir())) {
        const std::string ext = LowerExtension(file), path = SourceDir() + "/" + file;
        if (ext != ".png" && ext != ".tga" && ext != ".pcx" && ext != ".bmp" && ext != ".jpg")
            continue;
        ++images;
        const zarvo_test::ProgramRun run = Shell("identify -regard-warnings '" + path + "'");
        EXPECT_EQ(run.status, 0) << file << ": " << run.output;
        if (ext == ".png") {
            // Textures upload the pixels as they are: 32-bit, alpha mask, no row padding.
            ++pngs;
            SDL_Surface* surface = IMG_Load(path.c_str());
            ASSERT_NE(surface, nullptr) << file << ": " << IMG_GetError();
            EXPECT_TRUE(surface->format->BytesPerPixel == 4 && surface->format->Amask != 0 &&
                        surface->pitch == surface->w * 4)
                << file;
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
        // Row 0 is the bottom one but for JPEG (such textures read the same either way up).
        const size_t row = image.RowBytes();
        std::string ours(image.ByteCount(), '\0'), theirs;
        for (int y = 0; y < image.height; ++y)
            std::memcpy(&ours[y * row],
                        &image.pixels[(ext == ".jpg" ? y : image.height - 1 - y) * row], row);
        const std::string format = image.components == 4 ? " rgba:" : " rgb:";
        ASSERT_EQ(Shell("convert '" + path + "' -auto-orient -depth 8" + format + out).status, 0);
        ASSERT_TRUE(zarvo_test::ReadFileBytes(out, theirs) && ours.size() == theirs.size()) << file;
        int worst = 0; // JPEG is lossy between decoders
        for (size_t i = 0; i < ours.size(); ++i)
            worst = std::max(worst, std::abs(int(uint8_t(ours[i])) - int(uint8_t(theirs[i]))));
        EXPECT_LE(worst, ext == ".jpg" ? 12 : 0) << file;
    }
    EXPECT_TRUE(images > 40 && pngs > 25) << images << " images, " << pngs << " PNGs";
}

TEST(Content, FontsLoadThroughTheFontReaderWithGlyphRowZeroStoredLast) {
    for (const char* font : {"Data/Font/font.tga", "Data/Font/fontDemo.tga"}) {
        const std::string file = Read(font);
        CTGALoader loader;
        std::string error;
        sDecodedImage image;
        ASSERT_TRUE(loader.DecodeTGA(Bytes(file), file.size(), font, error) &&
                    loader.TakeImage(image))
            << font << ": " << error;
        ASSERT_TRUE(image.width == 256 && image.height == 256 && image.components == 4) << font;
        // Glyph row 0 is drawn at t near 1, and the font reader keeps the file's row order.
        auto inkInCell = [&](int glyph) {
            int ink = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    ink +=
                        image.pixels[((255 - glyph / 16 * 16 - y) * 256 + glyph % 16 * 16 + x) * 4 +
                                     3] > 128;
            return ink;
        };
        EXPECT_EQ(inkInCell(0) + inkInCell(127 - 32), 0) << "space is blank, code 127 has no glyph";
        for (char c : {'A', 'g', '#', 'W'})
            for (int set : {0, 128})
                EXPECT_GT(inkInCell(c - 32 + set), 10)
                    << font << " set " << set << " '" << c << "'";
    }
}

TEST(Content, ModelsLoadWithTheirAnimationsAndTexturedMeshesWhereTheDemosPlaceThem) {
    // placeY and size are where the demos put each model: its feet on the ground.
    struct Case {
        const char* file;
        int frames, animations, minFaces;
        float placeY, size;
        const char* names; // how the list of animation names begins
    };
    for (const Case& c :
         {Case{"Data/Models/MD2/McClane/tris.MD2", 198, 20, 500, 24, 1,
               "stand run attack pain1 pain2 pain3 jump flip salute taunt wave point "
               "crstnd crwalk crattak crpain crdeth death1 death2 death3 "},
          Case{"Data/Models/MD2/r2d2/tris.md2", 52, 3, 200, 10, 0.4f, "stand "},
          Case{"Data/Models/MD2/fegyver/OwnGun.md2", 34, 3, 100, 0, 0, ""}}) {
        SCOPED_TRACE(c.file);
        Model model;
        std::string error;
        ASSERT_TRUE(LoadAs('2', Read(c.file), model, &error, "skin.pcx") && !model.pObject.empty())
            << error;
        const t3DObject& frame0 = model.pObject[0];
        EXPECT_EQ(std::make_pair(model.numOfObjects, model.numOfAnimations),
                  std::make_pair(c.frames, c.animations));
        EXPECT_GE(frame0.numOfFaces, c.minFaces);
        EXPECT_NEAR(c.size > 0 ? c.placeY + c.size * frame0.boundingBox.min.y : 0, 0.0f, 1.0f);
        std::string names;
        for (int a = 0; a < model.numOfAnimations; ++a) {
            const tAnimationInfo& anim = model.pAnimations[a];
            EXPECT_TRUE(anim.startFrame >= 0 && anim.startFrame < anim.endFrame &&
                        anim.endFrame < c.frames)
                << "animation " << a;
            names += std::string(anim.strName) + " ";
        }
        EXPECT_EQ(names.rfind(c.names, 0), 0u) << names;
        // Unit normals, and faces clockwise from outside as the engine culls (a humanoid is
        // not convex: few faces seen from the centre turn the other way, not most).
        const CVector3 centre = (frame0.boundingBox.min + frame0.boundingBox.max) * 0.5f;
        int counterClockwise = 0;
        ExpectUnitNormals(model);
        for (int f = 0; f < frame0.numOfFaces; ++f) {
            const int* i = frame0.pFaces[f].vertIndex;
            const CVector3 a = frame0.pVerts[i[0]], b = frame0.pVerts[i[1]],
                           d = frame0.pVerts[i[2]];
            counterClockwise += Dot(Cross(b - a, d - a), a + b + d - centre * 3) > 0;
        }
        EXPECT_LT(counterClockwise, frame0.numOfFaces * 2 / 5);
        // Byte quantisation collapses a few of the small weapon's faces, which assimp drops.
        if (c.size > 0) ExpectAssimpAgrees(c.file, frame0.numOfFaces, frame0.boundingBox);
    }

    const char* sceneFile = "Data/Models/demo/26_okolie.3DS";
    Model model;
    ASSERT_TRUE(LoadAs('S', Read(sceneFile), model));
    EXPECT_TRUE(model.numOfMaterials == 8 && model.numOfObjects >= 10) // ten textures at most
        << model.numOfMaterials << " materials, " << model.numOfObjects << " objects";
    int faces = 0;
    std::map<std::string, int> readers;
    for (const t3DObject& mesh : model.pObject) {
        EXPECT_GE(mesh.materialID, 0) << mesh.strName;
        EXPECT_TRUE(mesh.bHasTexture)
            << mesh.strName << ": untextured meshes draw white in the buffer path";
        EXPECT_EQ(mesh.numTexVertex, mesh.numOfVerts) << mesh.strName;
        faces += mesh.numOfFaces;
    }
    for (const tMaterialInfo& material : model.pMaterials) {
        EXPECT_TRUE(fs::is_regular_file(SourceDir() + "/Data/Models/demo/" + material.strFile))
            << material.strFile;
        readers[LowerExtension(material.strFile)]++;
    }
    for (const char* ext : {".jpg", ".tga", ".bmp", ".pcx"})
        EXPECT_GT(readers[ext], 0) << "the scene lacks a " << ext << " texture";
    // Placed at (0, 51, 0) with size (7, 15, 7): ground at world y = 0.
    EXPECT_NEAR(51 + 15 * model.boundingBox.min.y, 0.0f, 0.01f);
    EXPECT_GT(7 * model.boundingBox.max.x, 100.0f);
    ExpectAssimpAgrees(sceneFile, faces, model.boundingBox);
}

TEST(Content, Md3CharacterHasTheStandardAnimationsTagsAndAssimpsExtents) {
    const std::string lara = "Data/Models/MD3/lara/";
    std::istringstream order(
        "BOTH_DEATH1 BOTH_DEAD1 BOTH_DEATH2 BOTH_DEAD2 BOTH_DEATH3 BOTH_DEAD3 "
        "TORSO_GESTURE TORSO_ATTACK TORSO_ATTACK2 TORSO_DROP TORSO_RAISE "
        "TORSO_STAND TORSO_STAND2 LEGS_WALKCR LEGS_WALK LEGS_RUN LEGS_BACK LEGS_SWIM "
        "LEGS_JUMP LEGS_LAND LEGS_JUMPB LEGS_LANDB LEGS_IDLE LEGS_IDLECR LEGS_TURN");
    std::istringstream lines(Read(lara + "lara_animation.cfg"));
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
    // Upper holds both + torso frames, lower both + legs; tags link parts, unit axes.
    const int torsoOffset = ranges[13][0] - ranges[6][0];
    const std::tuple<const char*, int, const char*> parts[] = {
        {"lara_lower", ranges[24][0] + ranges[24][1] - torsoOffset, "tag_torso "},
        {"lara_upper", ranges[12][0] + ranges[12][1], "tag_head tag_weapon "},
        {"lara_head", 1, ""},
        {"Railgun", 1, ""}};
    for (const auto& [part, frames, tags] : parts) {
        SCOPED_TRACE(part);
        const std::string file = Read(lara + part + ".md3");
        Model model;
        CLoadMD3 loader;
        ASSERT_TRUE(loader.ImportMD3FromMemory(&model, Bytes(file), file.size()))
            << loader.GetLastError();
        EXPECT_EQ(loader.GetFrameCount(), frames);
        std::string names;
        for (int t = 0; t < loader.GetFrameCount() * model.numOfTags; ++t) {
            if (t < model.numOfTags) names += std::string(model.pTags[t].strName) + " ";
            for (const float* row : model.pTags[t].rotation)
                EXPECT_NEAR(row[0] * row[0] + row[1] * row[1] + row[2] * row[2], 1.0f, 1e-3f)
                    << "tag " << t;
        }
        EXPECT_EQ(names, tags);
        int faces = 0;
        for (const t3DObject& mesh : model.pObject)
            faces += mesh.numOfFaces;
        ExpectAssimpAgrees(lara + part + ".md3", faces, model.boundingBox);
    }
}
