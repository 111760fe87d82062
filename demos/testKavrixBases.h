#pragma once
// The picture fade once more, as the fade demo shows it.
#include "demos/testImageFade.h"

class testKavrixBases : public testImageFade {
public:
    testKavrixBases();
    ~testKavrixBases() override;
};
