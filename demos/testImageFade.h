#pragma once
// A picture that fades out and in without end.
#include "demos/Demo2D.h"

class CPictureFade;

class testImageFade : public Demo2D {
public:
    testImageFade();
    ~testImageFade() override;

protected:
    void InitFeature() override;
    void FeatureFrame() override;

private:
    CPictureFade* m_pPictureFade;
};
