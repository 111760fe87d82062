#include "demos/testImageFade.h"

testImageFade::testImageFade() {}

testImageFade::~testImageFade() {}
