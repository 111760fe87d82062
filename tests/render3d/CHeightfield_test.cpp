#include <gtest/gtest.h>

#include "render3d/CHeightfield.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

namespace {

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

Surface MakeSurface(int w, int h, int bits) {
    return Surface(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0xFF, 0xFF00, 0xFF0000, 0),
                   SDL_FreeSurface);
}

void RandomTerrain(CHeightField& field, int mode, int side, int step, int top, unsigned seed) {
    std::mt19937 rng(seed);
    field.SetGrid(side, side, mode, step);
    for (int x = 0; x < side; ++x)
        for (int z = 0; z < side; ++z)
            field.SetHeight(x, z, (unsigned char)(rng() % top));
}

TEST(HeightFieldImage, PixelsInRowOrderHonouringPitchAndGreyOfDeeperImages) {
    CHeightField field;
    std::string error;
    Surface grey = MakeSurface(5, 3, 8); // rows padded to 8 bytes
    ASSERT_GT(grey->pitch, 5);
    for (int z = 0; z < 3; ++z)
        for (int x = 0; x < 5; ++x)
            static_cast<Uint8*>(grey->pixels)[z * grey->pitch + x] = Uint8(10 * z + x);
    ASSERT_TRUE(field.ReadHeights(grey.get(), 1, error)) << error;
    EXPECT_TRUE(field.GetWidth() == 5 && field.GetDepth() == 3 && field.GetHeight(1, 0) == 1 &&
                field.GetHeight(0, 1) == 10 && field.GetHeight(4, 2) == 24);
    ASSERT_TRUE(field.ReadHeights(grey.get(), 4, error));
    EXPECT_EQ(field.GetHeight(4, 2), 6) << "divided";

    Surface rgb = MakeSurface(2, 1, 24);
    const Uint8 twoPixels[6] = {30, 60, 90, 200, 200, 200};
    std::memcpy(rgb->pixels, twoPixels, 6);
    ASSERT_TRUE(field.ReadHeights(rgb.get(), 0, error)) << "divisor 0 counts as 1";
    EXPECT_TRUE(field.GetHeight(0, 0) == 60 && field.GetHeight(1, 0) == 200);

    // A 1-bit image packs eight pixels a byte; it is unpacked, not read past its rows.
    Surface bits = MakeSurface(12, 2, 1);
    ASSERT_LT(bits->pitch, 12);
    SDL_Color blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    SDL_SetColors(bits.get(), blackWhite, 0, 2);
    static_cast<Uint8*>(bits->pixels)[0] = 0x80; // the first pixel of the first row white
    ASSERT_TRUE(field.ReadHeights(bits.get(), 1, error)) << error;
    EXPECT_TRUE(field.GetWidth() == 12 && field.GetHeight(0, 0) == 255 &&
                field.GetHeight(1, 0) == 0 && field.GetHeight(11, 1) == 0);

    EXPECT_FALSE(field.ReadHeights(MakeSurface(1025, 1, 8).get(), 1, error));
    EXPECT_NE(error.find("1024"), std::string::npos) << error;
}

TEST(HeightFieldRaw, ShortOrMissingFilesLeaveAnEmptyTerrain) {
    const std::string dir = zarvo_test::MakeTempDir("hfield");
    zarvo_test::WriteFileBytes(dir + "/short.raw", std::string(15, '\x07'));
    CHeightField field;
    char texture[] = "none.png";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(field.CreateFromRaw((dir + "/short.raw").c_str(), 4, 4, texture, 1, 1));
    EXPECT_FALSE(field.CreateFromRaw((dir + "/missing.raw").c_str(), 4, 4, texture, 1, 1));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Cannot open heightfield file: " + dir + "/short.raw (holds 15 bytes"),
              std::string::npos)
        << out;
    EXPECT_EQ(field.GetDrawMode(), CHeightField::DRAW_NONE);

    // Byte x * depth + z is height (x, z), as a full 1024 x 1024 file fills the grid.
    std::vector<unsigned char> bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::string error;
    ASSERT_TRUE(field.ReadRawHeights(bytes, 3, 4, 1, error));
    EXPECT_TRUE(field.GetHeight(0, 3) == 3 && field.GetHeight(2, 1) == 9);
    EXPECT_FALSE(field.ReadRawHeights(bytes, 1025, 1, 1, error));
}

// y of the plane through a triangle at (x, z), or NAN when (x, z) is outside it.
float PlaneY(const CVector3 t[3], float x, float z) {
    const float d = (t[1].z - t[2].z) * (t[0].x - t[2].x) + (t[2].x - t[1].x) * (t[0].z - t[2].z);
    const float a = ((t[1].z - t[2].z) * (x - t[2].x) + (t[2].x - t[1].x) * (z - t[2].z)) / d;
    const float b = ((t[2].z - t[0].z) * (x - t[2].x) + (t[0].x - t[2].x) * (z - t[2].z)) / d;
    const float c = 1 - a - b;
    if (a < -1e-4f || b < -1e-4f || c < -1e-4f) return NAN;
    return a * t[0].y + b * t[1].y + c * t[2].y;
}

TEST(HeightFieldHeight, MatchesThePlaneOfTheDrawnTriangleUnderThePointAndZeroOutside) {
    for (int mode : {CHeightField::DRAW_BUFFER, CHeightField::DRAW_SHADER}) {
        CHeightField field;
        RandomTerrain(field, mode, 9, 1, 250, 5);
        std::vector<CVector3> tris; // the triangles as each mode sends them to GL
        if (mode == CHeightField::DRAW_BUFFER) {
            field.BuildTriangleList(1);
            const std::vector<float>& v = field.GetVertexArray();
            for (size_t i = 0; i < v.size(); i += 3)
                tris.emplace_back(v[i], v[i + 1], v[i + 2]);
        } else {
            const int corners[6][2] = {{0, 0}, {0, 1}, {1, 0}, {0, 1}, {1, 1}, {1, 0}};
            for (int x = 0; x < 8; ++x)
                for (int z = 0; z < 8; ++z)
                    for (const auto& c : corners)
                        tris.emplace_back(float(x + c[0]), field.GetHeight(x + c[0], z + c[1]),
                                          float(z + c[1]));
        }
        std::mt19937 rng(11);
        std::uniform_real_distribution<float> coord(0.0f, 8.0f);
        for (int i = 0; i < 300; ++i) {
            const float x = coord(rng), z = coord(rng);
            float expected = NAN;
            for (size_t t = 0; t < tris.size() && std::isnan(expected); t += 3)
                expected = PlaneY(&tris[t], x, z);
            ASSERT_FALSE(std::isnan(expected));
            EXPECT_NEAR(field.height(x, z), expected, 1e-2f) << mode << " at " << x << "," << z;
        }
        for (const auto& p : {std::pair<float, float>{-0.01f, 3}, {3, 9}, {9.5f, 1}, {2, -4}})
            EXPECT_EQ(field.height(p.first, p.second), 0.0f);
    }
}

// By definition: each grid point's segment to the light against every cell's triangles.
TEST(HeightFieldLightMap, PointLightMapWalksOnlyCrossedCellsYetMatchesTheFullSearch) {
    const struct {
        int side, step, top;
    } cases[] = {{16, 1, 120}, {25, 2, 100}, {33, 4, 140}, {64, 1, 110}};
    for (const auto& c : cases) {
        CHeightField field;
        RandomTerrain(field, CHeightField::DRAW_BUFFER, c.side, c.step, c.top, unsigned(c.side));
        const std::vector<unsigned char> fast = field.ComputeMyLightMap();
        std::vector<unsigned char> brute(size_t(c.side) * c.side, 255);
        for (int x = 0; x < c.side - c.step; x += c.step)
            for (int z = 0; z < c.side - c.step; z += c.step) {
                const CVector3 segment[2] = {CHeightField::MY_LIGHT,
                                             CVector3(float(x), field.GetHeight(x, z), float(z))};
                bool hit = false;
                for (int cx = 0; cx < field.CellsAlongX() && !hit; ++cx)
                    for (int cz = 0; cz < field.CellsAlongZ() && !hit; ++cz) {
                        CVector3 tri[2][3];
                        field.CellTriangles(cx * c.step, cz * c.step, tri);
                        hit = IntersectedPolygon(tri[0], segment, 3) ||
                              IntersectedPolygon(tri[1], segment, 3);
                    }
                if (hit) brute[size_t(x) * c.side + z] = 127;
            }
        EXPECT_EQ(fast, brute) << c.side;
        const auto shadowed = std::count(brute.begin(), brute.end(), 127);
        EXPECT_TRUE(shadowed > 0 && shadowed < field.CellsAlongX() * field.CellsAlongZ()) << c.side;
    }
    CHeightField oblong;
    oblong.SetGrid(8, 9, CHeightField::DRAW_BUFFER, 1);
    EXPECT_TRUE(oblong.ComputeMyLightMap().empty()) << "the map is square: refused";
}

// Rays through whole texels: one walk per ray must match looking back from every texel.
TEST(HeightFieldLightMap, RayMarchShadowsEqualTheBackwardSearchOfEachTexel) {
    const CVector3 lights[] = {{1, -1, 0}, {-1, -1, 0}, {0, -1, 1}, {0, -1, -1},
                               {1, 0, 1},  {-1, 0, 1},  {1, 0, -1}};
    CHeightField field;
    RandomTerrain(field, CHeightField::DRAW_SHADER, 24, 1, 60, 9);
    for (const CVector3& light : lights) {
        const std::vector<unsigned char> map = field.ComputeLightmap(light, 24);
        const CVector3 L = Normalize(light);
        const int sx = (L.x > 0) - (L.x < 0), sz = (L.z > 0) - (L.z < 0);
        const float sink =
            std::fabs(L.y) * std::sqrt(float(sx * sx + sz * sz)) / std::sqrt(L.x * L.x + L.z * L.z);
        size_t shadowed = 0;
        for (int i = 0; i < 24; ++i)
            for (int j = 0; j < 24; ++j) {
                bool shadow = false;
                for (int k = 1; !shadow; ++k) {
                    const int bi = i - k * sx, bj = j - k * sz;
                    if (bi < 0 || bj < 0 || bi >= 24 || bj >= 24) break;
                    shadow = field.GetHeight(bi, bj) - k * sink > field.GetHeight(i, j);
                }
                shadowed += shadow;
                float shade = 1.0f;
                if (i > 0 && j > 0 && i < 23 && j < 23) {
                    const CVector3 n = Normalize(
                        CVector3(float(field.GetHeight(i - 1, j) - field.GetHeight(i + 1, j)), 1,
                                 float(field.GetHeight(i, j - 1) - field.GetHeight(i, j + 1))));
                    shade = std::min(std::fabs(Dot(L, n)) + 0.3f, 1.0f);
                }
                EXPECT_NEAR(map[i * 24 + j], int(255 * shade * (shadow ? 0.5f : 1.0f)), 1)
                    << i << "," << j;
            }
        EXPECT_GT(shadowed, 0u);
    }
}

} // namespace
