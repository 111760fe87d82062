#include "demos/testParallaxScroll.h"

testParallaxScroll::testParallaxScroll() {}

testParallaxScroll::~testParallaxScroll() {}
