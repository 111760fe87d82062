#pragma once
// A progress bar: the left current / maximum part of an image, at the image's full height.
#include "image/CTexture.h"
#include "math/3DMath.h"

class CProgressBar {
public:
    CProgressBar();
    CProgressBar(char* file, unsigned int x, unsigned int y);
    CProgressBar(char* file, unsigned int x, unsigned int y, unsigned int maximum);
    ~CProgressBar();
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    unsigned int GetActualLength() const { return m_uiCurrent; }
    // Stored as given; only IncrementActualLength keeps the length within the maximum.
    void SetActualLength(unsigned int length) { m_uiCurrent = length; }
    void IncrementActualLength(unsigned int n);
    unsigned int GetMaximum() const { return m_uiMaximum; }
    void SetMaximum(unsigned int maximum) { m_uiMaximum = maximum; }
    void SetActualPos(unsigned int x, unsigned int y) { m_Position = CVector2(float(x), float(y)); }
    CVector2 GetPosition() const { return m_Position; }
    CTexture* GetImage() const { return m_pImage; }

    // The part of the image shown for current of maximum: the left current / maximum of
    // it. False when maximum is 0, which has no fraction and draws nothing.
    static bool SectionFor(unsigned int current, unsigned int maximum, sRect* section);

    void Draw();
    // Draws at the position plus the window origin (wx, wy).
    void InDraw(float wx, float wy);

private:
    CTexture* m_pImage;
    unsigned int m_uiMaximum;
    unsigned int m_uiCurrent;
    CVector2 m_Position;
    sRect m_Section;
};
