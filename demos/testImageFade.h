#pragma once
// A picture that fades out and in without end.
#include "demos/Demo2D.h"

class CPictureFade;

class testImageFade : public Demo2D {
public:
    testImageFade();
    ~testImageFade() override;

    CPictureFade* GetPictureFade() const { return m_pPictureFade; }

protected:
    void InitFeature() override;
    void FeatureFrame() override;

private:
    CPictureFade* m_pPictureFade;
};
