#include <gtest/gtest.h>

#include "outdoor_gl.h"
#include "render3d/CParticle.h"
#include "render3d/CParticleSystem.h"

#include <GL/glew.h>

#include <algorithm>
#include <memory>

namespace {

const int kSize = 320;

class ParticleGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        zarvo_test::PopMatrixStacksToBase();
        globals_ = std::make_unique<outdoor_gl::Globals>();
        texture_ = outdoor_gl::SolidTexture(255, 255, 255);
    }
    // One still particle at `at` that never runs out of energy.
    std::unique_ptr<CParticleSystem> Make(CVector3 at, bool sprites, bool blend, sColor colour,
                                          float pointSize) {
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
    void Look(const double eye[3], const float clear[3]) {
        const double centre[3] = {0, 0, -10};
        zarvo_test::LookAt(kSize, 5000.0, clear, eye, centre);
        globals_->camera.SetPosition(float(eye[0]), float(eye[1]), float(eye[2]));
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
    }
    // Lit pixels: bounding box and count.
    struct Extent {
        int left = kSize, right = -1, top = kSize, bottom = -1, count = 0;
        int Width() const { return right - left + 1; }
        int Height() const { return bottom - top + 1; }
    };
    static Extent Measure() {
        const std::vector<uint8_t> px = zarvo_test::ReadFramebufferTopDown(kSize, kSize);
        Extent e;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (px[(size_t(y) * kSize + x) * 4] > 128) {
                    e.left = std::min(e.left, x), e.right = std::max(e.right, x);
                    e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
                    ++e.count;
                }
        return e;
    }
    std::unique_ptr<outdoor_gl::Globals> globals_;
    std::string texture_;
};

const sColor kWhite(1, 1, 1, 1);
const float kBlack[3] = {0, 0, 0};

TEST_F(ParticleGL, SpritesStopAtTheLargestPointSizeAndKeepTwelvePixelsFarAway) {
    const double eye[3] = {0, 0, 0};
    auto near = Make(CVector3(0, 0, -1.5f), true, true, kWhite, 200.0f);
    const float largest = near->GetLargestPointSize();
    ASSERT_GT(largest, 12.0f);
    ASSERT_LT(largest, float(kSize)) << "the clamp would not show in this window";
    Look(eye, kBlack);
    near->RenderParticles();
    const Extent big = Measure();
    EXPECT_NEAR(big.Width(), largest, 2.0f);
    EXPECT_NEAR(big.Height(), largest, 2.0f);

    auto far = Make(CVector3(0, 0, -2000), true, true, kWhite, 10.0f);
    EXPECT_EQ(far->MinimumPointSize(2000.0f), 12.0f);
    EXPECT_EQ(far->MinimumPointSize(0.0f), 12.0f) << "10 is not above 10";
    Look(eye, kBlack);
    far->RenderParticles();
    const Extent small = Measure();
    EXPECT_NEAR(small.Width(), 12, 1);
    EXPECT_NEAR(small.Height(), 12, 1);
}

TEST_F(ParticleGL, QuadsFaceTheCameraFromAnySide) {
    const double eyes[][3] = {{0, 0, 0}, {8, 5, -2}, {-6, -4, -18}};
    for (const auto& eye : eyes) {
        auto system = Make(CVector3(0, 0, -10), false, true, kWhite, 10.0f);
        Look(eye, kBlack);
        system->RenderParticles();
        const Extent e = Measure();
        ASSERT_GT(e.count, 100) << eye[0];
        // A quad parallel to the image plane is an upright square. (Sizes that differ per
        // axis scale world axes, which is what stretches rain drops along y.)
        EXPECT_GT(e.count, 0.97 * e.Width() * e.Height()) << eye[0];
        EXPECT_NEAR(double(e.Height()) / e.Width(), 1.0, 0.04) << eye[0];
    }
}

TEST_F(ParticleGL, AdditiveAndAlphaBlendingOfSprites) {
    const double eye[3] = {0, 0, 0};
    const float red[3] = {0.5f, 0, 0};
    const sColor halfBlue(0, 0, 1, 0.5f); // given r, g, b, a; kept r, b, g, a
    for (bool alphaBlend : {true, false}) {
        auto system = Make(CVector3(0, 0, -3), true, alphaBlend, halfBlue, 60.0f);
        Look(eye, red);
        system->RenderParticles();
        const zarvo_test::Rgba c = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
        EXPECT_NEAR(c.b, 128, 3) << alphaBlend;
        EXPECT_NEAR(c.r, alphaBlend ? 64 : 128, 3) << alphaBlend;
    }
}

TEST_F(ParticleGL, ParticlesMoveOnlyWhileTheSystemIsRendered) {
    auto system = Make(CVector3(0, 0, -10), true, true, kWhite, 10.0f);
    system->SetParticleVelocityY(20, 20, 1);
    CParticle* p = system->GetParticle(0);
    p->SetVelocity(0, 20, 0);
    EXPECT_EQ(system->GetParticle(1), nullptr);
    globals_->SetFrameInterval(0.5);
    EXPECT_EQ(p->GetPosition().y, 0.0f) << "time passing alone moves nothing";
    system->RenderParticles();
    EXPECT_FLOAT_EQ(p->GetPosition().y, 10.0f);
    EXPECT_FLOAT_EQ(p->GetEnergy(), 995.0f);
}

} // namespace
