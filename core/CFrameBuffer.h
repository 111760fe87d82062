#pragma once
// A CPU-side RGB image of floats (three per pixel) drawn to the screen in one call; the
// ray tracer renders into it.
#include <memory>

class CFrameBuffer {
public:
    CFrameBuffer();
    CFrameBuffer(unsigned width, unsigned height);
    ~CFrameBuffer();
    CFrameBuffer(const CFrameBuffer&) = delete;
    CFrameBuffer& operator=(const CFrameBuffer&) = delete;

    // Allocates a zeroed width x height image; a second call replaces the first.
    void Init(unsigned width, unsigned height);
    // Pixels outside the image are ignored.
    void SetPixelColor(unsigned x, unsigned y, float r, float g, float b);
    // glDrawPixels at the current raster position; rows run bottom to top.
    void DrawFrameBuffer();

    unsigned GetWidth() const { return m_Width; }
    unsigned GetHeight() const { return m_Height; }
    const float* GetPixels() const { return m_Pixels.get(); }

private:
    std::unique_ptr<float[]> m_Pixels;
    unsigned m_Height;
    unsigned m_Width;
};
