#pragma once
// Three background layers; the arrow keys scroll layers 2 and 3 at their own speeds
// while layer 1 stays.
#include "demos/Demo2D.h"
#include "scene2d/CParallaxScroll.h"

class testParallaxScroll : public Demo2D {
public:
    testParallaxScroll();
    ~testParallaxScroll() override;

    CParallaxScroll& GetScroll() { return m_Scroll; }

protected:
    void InitFeature() override;
    void FeatureFrame() override { m_Scroll.Draw(); }
    void HandleKeys() override;

private:
    CParallaxScroll m_Scroll;
};
