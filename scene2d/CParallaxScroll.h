#pragma once
// Three layers of background images, each scrolled at its own speed (pixels per second,
// scaled by the frame interval). The Update names give the direction the view travels,
// so the images move the other way. Layers are numbered 1 to 3; other numbers change
// nothing.
#include <vector>

class CTexture;

class CParallaxScroll {
public:
    CParallaxScroll() = default;
    // The scroll owns its background images.
    ~CParallaxScroll();
    CParallaxScroll(const CParallaxScroll&) = delete;
    CParallaxScroll& operator=(const CParallaxScroll&) = delete;

    void addBackgroundToLayer1(char* file, float x, float y) { AddBackground(1, file, x, y); }
    void addBackgroundToLayer2(char* file, float x, float y) { AddBackground(2, file, x, y); }
    void addBackgroundToLayer3(char* file, float x, float y) { AddBackground(3, file, x, y); }

    void UpdateLeft(unsigned int layer) { Shift(layer, 1.0f, 0.0f); }
    void UpdateRight(unsigned int layer) { Shift(layer, -1.0f, 0.0f); }
    void UpdateUp(unsigned int layer) { Shift(layer, 0.0f, -1.0f); }
    void UpdateDown(unsigned int layer) { Shift(layer, 0.0f, 1.0f); }
    // Moves the layer left by index widths of its second image; needs two images.
    void JumpToBackGround(unsigned int index, unsigned int layer);
    // Layer 1 first, layer 3 last, each in the order added.
    void Draw();

    float getLayer1Speed() const { return m_fSpeed[0]; }
    float getLayer2Speed() const { return m_fSpeed[1]; }
    float getLayer3Speed() const { return m_fSpeed[2]; }
    void setLayer1Speed(float speed) { m_fSpeed[0] = speed; }
    void setLayer2Speed(float speed) { m_fSpeed[1] = speed; }
    void setLayer3Speed(float speed) { m_fSpeed[2] = speed; }

    // The images of a layer; null for a layer number other than 1 to 3.
    const std::vector<CTexture*>* GetLayer(unsigned int layer) const;

private:
    void AddBackground(unsigned int layer, char* file, float x, float y);
    void Shift(unsigned int layer, float dx, float dy);

    std::vector<CTexture*> m_Layers[3];
    unsigned int m_uiCounts[3] = {0, 0, 0};
    float m_fSpeed[3] = {5.0f, 8.0f, 4.0f};
};
