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
const char* const kDemoFiles[] = {
    "Data/Font/font.tga",
    "Data/Font/fontDemo.tga",
    "Data/Logo/z3dlogo.png",
    "Data/Models/MD2/McClane/tris.MD2",
    "Data/Models/MD2/McClane/nakatomi1.pcx",
    "Data/Models/MD2/r2d2/tris.md2",
    "Data/Models/MD2/r2d2/r2d2.pcx",
    "Data/Models/demo/26_okolie.3DS",
    "Data/TModel/planeParralax.xml",
    "Data/Models/MD3/lara/lara_lower.md3",
    "Data/Models/MD3/lara/lara_upper.md3",
    "Data/Models/MD3/lara/lara_head.md3",
    "Data/Models/MD3/lara/lara_lower.skin",
    "Data/Models/MD3/lara/lara_upper.skin",
    "Data/Models/MD3/lara/lara_head.skin",
    "Data/Models/MD3/lara/lara_animation.cfg",
    "Data/Models/MD3/lara/Railgun.md3",
    "Data/Models/MD3/lara/Railgun.shader",
    "Data/Models/MD2/fegyver/OwnGun.md2",
    "Data/Models/MD2/fegyver/OwnGun.bmp",
    "Data/SkyDome/clouds2.png",
    "Data/Particle/texture.png",
    "Data/Particle/rain.PNG",
    "Data/Particle/particle.png",
    "Data/informationConsol2.png",
    "Data/Crosshair/CrossHairPoint.png",
    "Data/MousePointer.png",
    "Data/moveWindow.png",
    "Data/Sprite/sample1.png",
    "Data/scroll/BackgroundCloud_layer3.png",
    "Data/scroll/Background01_big_alpha.png",
    "Data/scroll/Background02_big_alpha.png",
    "Data/scroll/Background03_big_alpha.png",
    "Data/scroll/Background04_big_alpha.png",
    "Data/scroll/Background05_big_alpha.png",
    "Data/scroll/BackgroundCloud012.png",
    "Data/Terrain/heightmap.bmp",
    "Data/Terrain/rock_1.png",
};

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
    for (const char* file : kDemoFiles)
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

// Frame 0 of an MD2 file, by its header.
Extents Md2Extents(const std::string& b) {
    Extents e;
    int numXyz = Get<int32_t>(b, 24);
    size_t frame = Get<int32_t>(b, 56);
    float s[3], t[3];
    for (int k = 0; k < 3; ++k)
        s[k] = Get<float>(b, frame + 4 * k), t[k] = Get<float>(b, frame + 12 + 4 * k);
    for (int v = 0; v < numXyz; ++v) {
        size_t at = frame + 40 + 4 * v;
        Grow(e, Get<uint8_t>(b, at) * s[0] + t[0], Get<uint8_t>(b, at + 1) * s[1] + t[1],
             Get<uint8_t>(b, at + 2) * s[2] + t[2]);
    }
    e.vertices = numXyz;
    // Faces collapsed to a point in frame 0 (a hidden muzzle flash) are dropped by readers.
    size_t tris = Get<int32_t>(b, 52);
    for (int t = 0; t < Get<int32_t>(b, 32); ++t) {
        std::array<uint32_t, 3> packed{};
        for (int k = 0; k < 3; ++k) {
            size_t at = frame + 40 + 4 * Get<uint16_t>(b, tris + 12 * t + 2 * k);
            packed[k] = Get<uint32_t>(b, at) & 0xFFFFFF;
        }
        if (packed[0] != packed[1] || packed[1] != packed[2]) ++e.faces;
    }
    return e;
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

// Walks the 3DS chunk tree for vertex and face lists.
void Walk3ds(const std::string& b, size_t from, size_t to, Extents& e) {
    while (from + 6 <= to) {
        uint16_t id = Get<uint16_t>(b, from);
        uint32_t len = Get<uint32_t>(b, from + 2);
        if (len < 6 || from + len > to) return;
        size_t data = from + 6;
        if (id == 0x4D4D || id == 0x3D3D || id == 0x4100) Walk3ds(b, data, from + len, e);
        if (id == 0x4000) Walk3ds(b, data + std::strlen(b.c_str() + data) + 1, from + len, e);
        if (id == 0x4110) {
            int n = Get<uint16_t>(b, data);
            for (int v = 0; v < n; ++v)
                Grow(e, Get<float>(b, data + 2 + 12 * v), Get<float>(b, data + 6 + 12 * v),
                     Get<float>(b, data + 10 + 12 * v));
        }
        if (id == 0x4120) e.faces += Get<uint16_t>(b, data);
        from += len;
    }
}

} // namespace

TEST(Content, AssimpAgreesOnModelCountsAndBounds) {
    if (!HaveTool("assimp")) GTEST_SKIP() << "assimp CLI not installed";
    struct Case {
        const char* file;
        char kind;
    };
    const Case cases[] = {
        {"Data/Models/MD2/McClane/tris.MD2", '2'},    {"Data/Models/MD2/r2d2/tris.md2", '2'},
        {"Data/Models/MD2/fegyver/OwnGun.md2", '2'},  {"Data/Models/demo/26_okolie.3DS", 's'},
        {"Data/Models/MD3/lara/lara_lower.md3", '3'}, {"Data/Models/MD3/lara/lara_upper.md3", '3'},
        {"Data/Models/MD3/lara/lara_head.md3", '3'},  {"Data/Models/MD3/lara/Railgun.md3", '3'},
    };
    for (const Case& c : cases) {
        std::string bytes;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/" + c.file, bytes)) << c.file;
        Extents ours;
        if (c.kind == '2') ours = Md2Extents(bytes);
        if (c.kind == '3') ours = Md3Extents(bytes);
        if (c.kind == 's') Walk3ds(bytes, 0, bytes.size(), ours);
        Extents theirs;
        ASSERT_TRUE(AssimpInfo(DataRoot() + "/" + c.file, theirs))
            << c.file << " was not read by assimp";
        // Faces are the stable count: readers split or join vertices as they please.
        EXPECT_EQ(ours.faces, theirs.faces) << c.file;
        EXPECT_GT(theirs.vertices, 0) << c.file;
        ExpectSameExtents(ours, theirs, 0.02f, c.file);
    }
}

TEST(Content, ModelsHaveTheShapesTheDemosExpect) {
    std::string bytes;
    ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD2/McClane/tris.MD2", bytes));
    Extents man = Md2Extents(bytes);
    EXPECT_GE(man.faces, 500);
    EXPECT_LE(man.faces, 1000);
    // Placed at y = 24 with size 1: feet on the ground (file z is up).
    EXPECT_NEAR(man.lo[2], -24.0f, 1.0f);
    EXPECT_NEAR(man.hi[2], 32.0f, 3.0f);
    ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD2/r2d2/tris.md2", bytes));
    // Placed at y = 10 with size 0.4: the droid's feet at y = 0.
    EXPECT_NEAR(10 + 0.4f * Md2Extents(bytes).lo[2], 0.0f, 0.5f);
    // The scene's ground lands at world y = 0 under position (0, 51, 0) and size (7, 15, 7).
    ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/demo/26_okolie.3DS", bytes));
    Extents scene;
    Walk3ds(bytes, 0, bytes.size(), scene);
    EXPECT_NEAR(51 + 15 * scene.lo[1], 0.0f, 0.01f);
    EXPECT_GT(7 * scene.hi[0], 100.0f) << "ground reaches beyond the camera's view";
}

namespace {

// The MD2 loader's grouping of frames into animations by name: a trailing number of
// at most two digits is cut off, and each change of name starts an animation.
std::vector<std::string> Md2AnimationNames(const std::string& b) {
    std::vector<std::string> names;
    std::string previous;
    size_t frames = Get<int32_t>(b, 56), size = Get<int32_t>(b, 16);
    for (int f = 0; f < Get<int32_t>(b, 40); ++f) {
        std::string name(b.c_str() + frames + f * size + 24,
                         strnlen(b.c_str() + frames + f * size + 24, 16));
        size_t cut = name.size();
        for (size_t p = name.size() >= 2 ? name.size() - 2 : 0; p < name.size(); ++p)
            if (std::isdigit(static_cast<unsigned char>(name[p]))) {
                cut = p;
                break;
            }
        name.resize(cut);
        if (name != previous) names.push_back(name);
        previous = name;
    }
    return names;
}

} // namespace

TEST(Content, Md2FramesGroupIntoTheExpectedAnimations) {
    std::string bytes;
    ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD2/McClane/tris.MD2", bytes));
    std::vector<std::string> expected = {"stand",  "run",    "attack", "pain1",  "pain2",
                                         "pain3",  "jump",   "flip",   "salute", "taunt",
                                         "wave",   "point",  "crstnd", "crwalk", "crattak",
                                         "crpain", "crdeth", "death1", "death2", "death3"};
    EXPECT_EQ(Md2AnimationNames(bytes), expected);
    EXPECT_EQ(Get<int32_t>(bytes, 40), 198);
    ASSERT_TRUE(
        zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD2/fegyver/OwnGun.md2", bytes));
    EXPECT_GE(Md2AnimationNames(bytes).size(), 3u) << "the demo plays animation 2";
    ASSERT_TRUE(zarvo_test::ReadFileBytes(DataRoot() + "/Data/Models/MD2/r2d2/tris.md2", bytes));
    EXPECT_EQ(Md2AnimationNames(bytes).front(), "stand");
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
