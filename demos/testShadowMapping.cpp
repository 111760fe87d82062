#include "demos/testShadowMapping.h"

testShadowMapping::testShadowMapping() {}

testShadowMapping::~testShadowMapping() {}
