// The generated Data/ tree: complete, reproducible, and readable by independent
// tools (ImageMagick for images, assimp for models).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "tests/support/test_paths.h"
#include "tests/tools/model_info.h"

using namespace content_test;

namespace fs = std::filesystem;

namespace {

// Every file the seven demos and the engine start-up load.
const char kDemoFiles[] =
    "Data/Font/font.tga Data/Font/fontDemo.tga Data/Logo/z3dlogo.png "
    "Data/Models/MD2/McClane/tris.MD2 Data/Models/MD2/McClane/nakatomi1.pcx "
    "Data/Models/MD2/r2d2/tris.md2 Data/Models/MD2/r2d2/r2d2.pcx "
    "Data/Models/demo/26_okolie.3DS Data/TModel/planeParralax.xml "
    "Data/Models/MD3/lara/lara_lower.md3 Data/Models/MD3/lara/lara_upper.md3 "
    "Data/Models/MD3/lara/lara_head.md3 Data/Models/MD3/lara/lara_lower.skin "
    "Data/Models/MD3/lara/lara_upper.skin Data/Models/MD3/lara/lara_head.skin "
    "Data/Models/MD3/lara/lara_animation.cfg Data/Models/MD3/lara/Railgun.md3 "
    "Data/Models/MD3/lara/Railgun.shader Data/Models/MD2/fegyver/OwnGun.md2 "
    "Data/Models/MD2/fegyver/OwnGun.bmp Data/SkyDome/clouds2.png "
    "Data/Particle/texture.png Data/Particle/rain.PNG Data/Particle/particle.png "
    "Data/informationConsol2.png Data/Crosshair/CrossHairPoint.png Data/MousePointer.png "
    "Data/moveWindow.png Data/Sprite/sample1.png Data/scroll/BackgroundCloud_layer3.png "
    "Data/scroll/Background01_big_alpha.png Data/scroll/Background02_big_alpha.png "
    "Data/scroll/Background03_big_alpha.png Data/scroll/Background04_big_alpha.png "
    "Data/scroll/Background05_big_alpha.png Data/scroll/BackgroundCloud012.png "
    "Data/Terrain/heightmap.bmp Data/Terrain/rock_1.png ";

std::string DataRoot() {
    return zarvo_test::SourceDir();
}

bool HaveTool(const std::string& name) {
    return RunCommand("command -v " + name).find(name) != std::string::npos;
}

std::vector<std::string> FilesUnder(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root + "/Data"))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Texture files a model names (3DS materials, MD3 skins and shader) resolved in its folder.
void Walk3dsTextures(const std::string& b, size_t from, size_t to, std::vector<std::string>& out) {
    while (from + 6 <= to) {
        uint16_t id = static_cast<uint8_t>(b[from]) | static_cast<uint8_t>(b[from + 1]) << 8;
        uint32_t len = 0;
        std::memcpy(&len, b.data() + from + 2, 4);
        if (len < 6 || from + len > to) return;
        if (id == 0x4D4D || id == 0x3D3D || id == 0xAFFF || id == 0xA200)
            Walk3dsTextures(b, from + 6, from + len, out);
        if (id == 0xA300) out.push_back("Data/Models/demo/" + std::string(b.c_str() + from + 6));
        from += len;
    }
}

std::vector<std::string> ReferencedTextures() {
    std::vector<std::string> out;
    std::string scene;
    zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/demo/26_okolie.3DS", scene);
    Walk3dsTextures(scene, 0, scene.size(), out);
    for (const char* list :
         {"lara_lower.skin", "lara_upper.skin", "lara_head.skin", "Railgun.shader"}) {
        std::string text;
        zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD3/lara/" + list, text);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (!line.empty())
                out.push_back("Data/Models/MD3/lara/" + line.substr(line.find_last_of("/,") + 1));
    }
    return out;
}

} // namespace

TEST(Content, EveryFileTheDemosLoadExists) {
    std::istringstream files(kDemoFiles);
    for (std::string file; files >> file;)
        EXPECT_TRUE(fs::is_regular_file(DataRoot() + "/" + file)) << file;
    // The flame and the height-field textures named by the engine itself.
    for (int k = 1; k <= 8; ++k)
        EXPECT_TRUE(fs::exists(DataRoot() + "/Data/Flame/flame" + std::to_string(k) + ".png"));
    EXPECT_TRUE(fs::exists(DataRoot() + "/Data/Terrain/grass_1.png"));
    EXPECT_TRUE(fs::exists(DataRoot() + "/Data/Terrain/sand_1.png"));
}

TEST(Content, TexturesNamedByModelsExistAndCoverEveryReader) {
    std::vector<std::string> textures = ReferencedTextures();
    ASSERT_GE(textures.size(), 8u);
    std::map<std::string, int> kinds;
    for (const std::string& t : textures) {
        EXPECT_TRUE(fs::is_regular_file(DataRoot() + "/" + t)) << t;
        if (t.find("/demo/") != std::string::npos) kinds[Lower(fs::path(t).extension().string())]++;
    }
    for (const char* ext : {".jpg", ".tga", ".bmp", ".pcx"})
        EXPECT_GT(kinds[ext], 0) << "scene lacks a " << ext << " texture";
    // The XML model's textures are paths from the working directory.
    std::string xml;
    ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/Data/TModel/planeParralax.xml", xml));
    for (const char* attr : {"colormap=\"", "heightmap=\""}) {
        size_t at = xml.find(attr);
        ASSERT_NE(at, std::string::npos);
        at += std::strlen(attr);
        EXPECT_TRUE(fs::is_regular_file(DataRoot() + "/" + xml.substr(at, xml.find('"', at) - at)));
    }
}

TEST(Content, GeneratorOutputIsIdenticalAcrossRuns) {
    const std::string a = zarvo_test::MakeTempDir("assets-a"),
                      b = zarvo_test::MakeTempDir("assets-b");
    int status = 0;
    RunCommand(std::string(ZARVO_ASSETGEN_EXE) + " " + a, &status);
    ASSERT_EQ(status, 0);
    RunCommand(std::string(ZARVO_ASSETGEN_EXE) + " " + b, &status);
    ASSERT_EQ(status, 0);
    std::vector<std::string> files = FilesUnder(a);
    ASSERT_EQ(files, FilesUnder(b));
    ASSERT_EQ(files, FilesUnder(DataRoot())) << "the build's Data/ holds exactly the generated set";
    for (const std::string& f : files) {
        std::string x, y, z;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(a + "/" + f, x));
        ASSERT_TRUE(zarvo_test::ReadFileBytes(b + "/" + f, y));
        ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/" + f, z));
        EXPECT_TRUE(x == y) << f << " differs between two runs";
        EXPECT_TRUE(x == z) << f << " in Data/ is stale";
    }
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(Content, ImageMagickAcceptsEveryImage) {
    if (!HaveTool("identify")) GTEST_SKIP() << "ImageMagick not installed";
    int images = 0;
    for (const std::string& f : FilesUnder(DataRoot())) {
        std::string ext = Lower(fs::path(f).extension().string());
        if (ext != ".png" && ext != ".tga" && ext != ".pcx" && ext != ".bmp" && ext != ".jpg")
            continue;
        ++images;
        int status = 0;
        std::string out =
            RunCommand("identify -regard-warnings '" + DataRoot() + "/" + f + "'", &status);
        EXPECT_EQ(status, 0) << f << ": " << out;
    }
    EXPECT_GT(images, 40);
}

namespace {

void Grow(Extents& e, float x, float y, float z) {
    if (e.vertices++ == 0) e.lo = e.hi = {x, y, z};
    std::array<float, 3> p{x, y, z};
    for (int k = 0; k < 3; ++k)
        e.lo[k] = std::min(e.lo[k], p[k]), e.hi[k] = std::max(e.hi[k], p[k]);
}

template <typename T> T Get(const std::string& b, size_t at) {
    T v{};
    if (at + sizeof(T) <= b.size()) std::memcpy(&v, b.data() + at, sizeof(T));
    return v;
}

// Frame 0 of every surface of an MD3 file.
Extents Md3Extents(const std::string& b) {
    Extents e;
    int faces = 0, vertices = 0;
    size_t surf = Get<int32_t>(b, 100);
    for (int s = 0; s < Get<int32_t>(b, 84); ++s) {
        int nv = Get<int32_t>(b, surf + 80);
        size_t xyz = surf + Get<int32_t>(b, surf + 100);
        for (int v = 0; v < nv; ++v)
            Grow(e, Get<int16_t>(b, xyz + 8 * v) / 64.0f, Get<int16_t>(b, xyz + 8 * v + 2) / 64.0f,
                 Get<int16_t>(b, xyz + 8 * v + 4) / 64.0f);
        faces += Get<int32_t>(b, surf + 84);
        vertices += nv;
        surf += Get<int32_t>(b, surf + 104);
    }
    e.faces = faces;
    e.vertices = vertices;
    return e;
}

} // namespace

// MD2 and 3DS files are compared with assimp through the engine's loaders
// (content_engine_test); MD3 through its header here.
TEST(Content, AssimpAgreesOnMd3CountsAndBounds) {
    if (!HaveTool("assimp")) GTEST_SKIP() << "assimp CLI not installed";
    for (const char* part : {"lara_lower", "lara_upper", "lara_head", "Railgun"}) {
        const std::string file = DataRoot() + "/Data/Models/MD3/lara/" + part + ".md3";
        std::string bytes;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(file, bytes)) << file;
        const Extents ours = Md3Extents(bytes);
        Extents theirs;
        ASSERT_TRUE(AssimpInfo(file, theirs)) << file << " was not read by assimp";
        // Faces are the stable count: readers split or join vertices as they please.
        EXPECT_EQ(ours.faces, theirs.faces) << file;
        ExpectSameExtents(ours, theirs, 0.02f, file);
    }
}

TEST(Content, Md3AnimationConfigHasTheStandardOrder) {
    std::string text;
    ASSERT_TRUE(
        zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD3/lara/lara_animation.cfg", text));
    const char* order[] = {
        "BOTH_DEATH1", "BOTH_DEAD1",    "BOTH_DEATH2",  "BOTH_DEAD2",    "BOTH_DEATH3",
        "BOTH_DEAD3",  "TORSO_GESTURE", "TORSO_ATTACK", "TORSO_ATTACK2", "TORSO_DROP",
        "TORSO_RAISE", "TORSO_STAND",   "TORSO_STAND2", "LEGS_WALKCR",   "LEGS_WALK",
        "LEGS_RUN",    "LEGS_BACK",     "LEGS_SWIM",    "LEGS_JUMP",     "LEGS_LAND",
        "LEGS_JUMPB",  "LEGS_LANDB",    "LEGS_IDLE",    "LEGS_IDLECR",   "LEGS_TURN"};
    std::istringstream lines(text);
    std::vector<std::array<int, 2>> ranges;
    size_t next = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        int first = 0, count = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %d", &first, &count), 2);
        ASSERT_LT(next, 25u);
        EXPECT_NE(line.find(order[next]), std::string::npos) << line;
        ranges.push_back({first, count});
        ++next;
    }
    ASSERT_EQ(next, 25u);
    // Frame counts of the parts: upper holds both + torso frames, lower both + legs.
    std::string upper, lower;
    ASSERT_TRUE(
        zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD3/lara/lara_upper.md3", upper));
    ASSERT_TRUE(
        zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD3/lara/lara_lower.md3", lower));
    int torsoOffset = ranges[13][0] - ranges[6][0];
    EXPECT_EQ(Get<int32_t>(upper, 76), ranges[12][0] + ranges[12][1]);
    EXPECT_EQ(Get<int32_t>(lower, 76), ranges[24][0] + ranges[24][1] - torsoOffset);
}
