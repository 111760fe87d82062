#pragma once
// One picture faded out to transparent or in to opaque at a set rate (alpha per second,
// scaled by the frame interval). The last step of a fade snaps to its end value.
class CTexture;

class CPictureFade {
public:
    CPictureFade() = default;
    ~CPictureFade();
    CPictureFade(const CPictureFade&) = delete;
    CPictureFade& operator=(const CPictureFade&) = delete;

    // The picture's own alpha is the given one; the fade's alpha stays as it is.
    void LoadTexture(char* file, float alpha);
    void SetPosition(float x, float y);

    // One frame of the fade, then the picture drawn with the new alpha. Without a
    // picture they do nothing.
    void FadeOut();
    void FadeIn();
    // The alpha steps alone, without drawing.
    void StepFadeOut();
    void StepFadeIn();

    float getFadeSpeed() const { return m_fFadeSpeed; }
    void setFadeSpeed(float speed) { m_fFadeSpeed = speed; }
    float GetAlpha() const { return m_fAlpha; }
    bool isFadeOutDone() const { return m_bFadeOutDone; }
    void setFadeOutDone(bool done) { m_bFadeOutDone = done; }
    bool isFadeInDone() const { return m_bFadeInDone; }
    void setFadeInDone(bool done) { m_bFadeInDone = done; }
    CTexture* GetPicture() const { return m_pPicture; }

private:
    void DrawPicture();

    CTexture* m_pPicture = nullptr;
    float m_fFadeSpeed = 0.1f;
    float m_fAlpha = 1.0f;
    bool m_bFadeOutDone = false;
    bool m_bFadeInDone = false;
};
