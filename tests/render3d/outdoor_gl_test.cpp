// The outdoor pieces drawn and read back: sky dome, height field and particles.
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTextureManager.h"
#include "render3d/CCamera.h"
#include "render3d/CHeightfield.h"
#include "render3d/CParticle.h"
#include "render3d/CParticleSystem.h"
#include "render3d/CSkyDome.h"
#include "support/demo_fixtures.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

using zarvo_test::SaveBmp;
const int kSize = 320;
const float kBlack[3] = {0, 0, 0};

// The globals the sky, terrain and particles reach for.
class OutdoorGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        zarvo_test::PopMatrixStacksToBase();
        g_ShaderManager = zarvo_test::BuiltInShaders(); // once there is a context
    }
    // Perspective view from `eye` towards (0, 0, -10), the camera placed there too.
    void Look(const double eye[3], const float clear[3] = kBlack, double turn = 0) {
        const double centre[3] = {0, 0, -10};
        zarvo_test::LookAt(kSize, 5000.0, clear, eye, centre);
        glRotated(turn, 0, 1, 0);
        camera_.SetPosition(float(eye[0]), float(eye[1]), float(eye[2]));
        for (GLenum cap : {GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE})
            glDisable(cap);
    }
    std::unique_ptr<CParticleSystem> Make(CVector3 at, bool sprites, bool blend, float pointSize,
                                          sColor colour = sColor(1, 1, 1, 1)) {
        auto system = std::make_unique<CParticleSystem>();
        system->SetPosition(at);
        system->SetGenerationBoxX(0, 0, 1);
        system->SetGenerationBoxZ(0, 0, 1);
        system->SetParticleVelocityY(0, 0, 1);
        system->SetEnergyBounds(1000, 1000);
        system->EnableTransparencyInFunctionOfEnergy(false);
        system->SetParticleSize(pointSize);
        system->SetQuadParticleSize(1.5f, 1.5f, 1.5f);
        system->SetColor(colour);
        system->InitParticle(1, texture_.data(), sprites, blend);
        return system;
    }
    CUtils utils_;
    CTextureManager textures_;
    CCamera camera_;
    zarvo_test::ScopedGlobal<CUtils> utilsGlobal_{g_Utils, &utils_};
    zarvo_test::ScopedGlobal<CTextureManager> texturesGlobal_{g_TextureManager, &textures_};
    zarvo_test::ScopedGlobal<CCamera> cameraGlobal_{g_Camera, &camera_};
    zarvo_test::ScopedGlobal<CShaderManager> shadersGlobal_{g_ShaderManager, nullptr};
    const double origin_[3] = {0, 0, 0};
    std::string texture_ = SaveBmp(4, 4, {{0, 0, 255, 255, 255}});
};

TEST_F(OutdoorGL, SkyDomeCoversTheUpperHalfOfTheViewAndTurnsBySpeedTimesInterval) {
    CSkyDome dome;
    char texture[] = "Data/SkyDome/clouds2.png";
    ASSERT_TRUE(dome.Initialize(15.0f, 15.0f, 1000.0f, texture));
    auto draw = [&](double turn) {
        Look(origin_, kBlack, turn);
        dome.Draw();
        return zarvo_test::ReadFramebufferTopDown(kSize, kSize);
    };
    dome.SetSpeed(0.0f);
    const zarvo_test::FrameInterval halfASecond(500);
    const std::vector<uint8_t> still = draw(0), viewTurned = draw(30);
    int wrongHalf = 0; // lit pixels below the horizon or dark ones above it
    for (int y = 0; y < kSize; y += 8)
        for (int x = 0; x < kSize; x += 8) {
            const uint8_t* p = &still[(size_t(y) * kSize + x) * 4];
            wrongHalf +=
                std::abs(y - kSize / 2) > 2 && (p[0] + p[1] + p[2] > 60) != (y < kSize / 2);
        }
    EXPECT_EQ(wrongHalf, 0);
    // 60 degrees a second for half a second turns it as far as turning the view by 30.
    dome.SetSpeed(60.0f);
    const std::vector<uint8_t> turned = draw(0);
    EXPECT_FLOAT_EQ(dome.GetAngle(), 30.0f);
    int fromStill = 0, fromReference = 0;
    for (size_t i = 0; i < turned.size(); i += 4) {
        fromStill += std::abs(turned[i] - still[i]) > 8;
        fromReference += std::abs(turned[i] - viewTurned[i]) > 8;
    }
    EXPECT_TRUE(fromStill > kSize * kSize / 20 && fromReference < kSize * kSize / 200);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

// Straight down on the x-z plane, x to the right and z downwards, -4 to 36 both ways.
void LookDown() {
    zarvo_test::OrthoView(kSize, kSize, -4, 36, -36, 4, -1000, 1000);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glRotatef(90, 1, 0, 0);
    for (GLenum cap : {GL_CULL_FACE, GL_LIGHTING, GL_DEPTH_TEST})
        glDisable(cap);
}
zarvo_test::Rgba At(float x, float z) {
    return zarvo_test::ReadPixelTopDown(int((x + 4) / 40 * kSize), int((z + 4) / 40 * kSize));
}

TEST_F(OutdoorGL, HeightFieldsDrawWhereTheGridAndTheHeightLayersSay) {
    const std::string raw = zarvo_test::MakeTempDir("hfield-gl") + "/flat.raw";
    zarvo_test::WriteFileBytes(raw, std::string(32 * 32, '\0'));
    std::string texture = SaveBmp(4, 4, {{0, 0, 200, 40, 40}});
    CHeightField flat;
    ASSERT_TRUE(flat.CreateFromRaw(raw.c_str(), 32, 32, texture.data(), 4, 1));
    EXPECT_EQ(flat.GetVertexCount(), 7 * 7 * 6) << "cells start below 32 - 4";
    LookDown();
    flat.Draw();
    const float points[][2] = {{1, 1},   {14, 14}, {27, 3}, {3, 27},
                               {30, 14}, {14, 30}, {-2, 5}, {5, -2}};
    for (int i = 0; i < 8; ++i) {
        const zarvo_test::Rgba c = At(points[i][0], points[i][1]);
        EXPECT_TRUE(i < 4 ? std::abs(c.r - 200) <= 3 && std::abs(c.g - 40) <= 3 : c.r + c.g == 0)
            << i;
    }
    // Columns 0-3 red (low), 4-7 green, 8-11 blue (high), each at a band's edge.
    const std::string file =
        SaveBmp(12, 12, {{0, 0, 150, 150, 150}, {4, 0, 151, 151, 151}, {8, 0, 201, 201, 201}});
    const std::string a = SaveBmp(4, 4, {{0, 0, 255, 0, 0}}),
                      b = SaveBmp(4, 4, {{0, 0, 0, 255, 0}}),
                      c = SaveBmp(4, 4, {{0, 0, 0, 0, 255}});
    CHeightField layered;
    ASSERT_TRUE(layered.CreateFromImage(file.c_str(), a.c_str(), b.c_str(), c.c_str(), 1));
    EXPECT_NE(layered.GetLightMap(), 0u) << "creation builds the light map";
    LookDown();
    layered.Draw();
    const float layerX[3] = {1.5f, 5.5f, 9.0f};
    for (int layer = 0; layer < 3; ++layer)
        for (float z : {1.5f, 5.0f, 8.5f}) {
            const zarvo_test::Rgba px = At(layerX[layer], z);
            const int rgb[3] = {px.r, px.g, px.b};
            for (int ch = 0; ch < 3; ++ch)
                EXPECT_TRUE(ch == layer ? rgb[ch] > 60 : rgb[ch] < 20) << layer << "," << z;
        }
    EXPECT_EQ(At(11.5f, 5).b, 0) << "the last two columns are not drawn";
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glActiveTextureARB(GL_TEXTURE4);
    EXPECT_TRUE(unit == GL_TEXTURE0 && !glIsEnabled(GL_TEXTURE_2D)) << "light-map unit left on";
    glActiveTextureARB(GL_TEXTURE0);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

struct Extent {
    int left = kSize, right = -1, top = kSize, bottom = -1, count = 0;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    Extent() {
        const std::vector<uint8_t> px = zarvo_test::ReadFramebufferTopDown(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (px[(size_t(y) * kSize + x) * 4] > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    ++count;
                }
    }
};

// Sprites clamp to the largest point size and keep 12 pixels far away.
TEST_F(OutdoorGL, SpriteSizesAndBlendingQuadsFacingTheCameraAndMovingOnlyWhenRendered) {
    auto near = Make(CVector3(0, 0, -1.5f), true, true, 200.0f),
         far = Make(CVector3(0, 0, -2000), true, true, 10.0f);
    const float largest = near->GetLargestPointSize();
    ASSERT_TRUE(largest > 12.0f && largest < float(kSize)) << "the clamp would not show";
    EXPECT_TRUE(far->MinimumPointSize(2000.0f) == 12.0f && far->MinimumPointSize(0.0f) == 12.0f);
    for (const auto& row : {std::make_pair(near.get(), largest), std::make_pair(far.get(), 12.f)}) {
        Look(origin_);
        row.first->RenderParticles();
        const Extent e;
        EXPECT_TRUE(std::abs(e.Width() - row.second) <= 2 && std::abs(e.Height() - row.second) <= 2)
            << e.Width() << "x" << e.Height();
    }
    const float red[3] = {0.5f, 0, 0};
    for (bool alphaBlend : {true, false}) {
        auto system = Make(CVector3(0, 0, -3), true, alphaBlend, 60.0f, sColor(0, 0, 1, 0.5f));
        Look(origin_, red);
        system->RenderParticles();
        const zarvo_test::Rgba c = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
        EXPECT_NEAR(c.b, 128, 3) << alphaBlend;
        EXPECT_NEAR(c.r, alphaBlend ? 64 : 128, 3) << alphaBlend;
    }
    // Quads face the camera from any side; particles move only while the system is rendered.
    const double eyes[][3] = {{0, 0, 0}, {8, 5, -2}, {-6, -4, -18}};
    for (const auto& eye : eyes) {
        auto system = Make(CVector3(0, 0, -10), false, true, 10.0f);
        Look(eye);
        system->RenderParticles();
        const Extent e; // an upright filled square
        ASSERT_GT(e.count, 100) << eye[0];
        EXPECT_GT(e.count, 0.97 * e.Width() * e.Height()) << eye[0];
        EXPECT_NEAR(double(e.Height()) / e.Width(), 1.0, 0.04) << eye[0];
    }
    auto system = Make(CVector3(0, 0, -10), true, true, 10.0f);
    CParticle* p = system->GetParticle(0);
    p->SetVelocity(0, 20, 0);
    EXPECT_EQ(system->GetParticle(1), nullptr);
    const zarvo_test::FrameInterval halfASecond(500);
    EXPECT_EQ(p->GetPosition().y, 0.0f) << "time passing alone moves nothing";
    system->RenderParticles();
    EXPECT_TRUE(p->GetPosition().y == 10.0f && p->GetEnergy() == 995.0f);
}

} // namespace
