#include "demos/testKavrixBases.h"

testKavrixBases::testKavrixBases() {}

testKavrixBases::~testKavrixBases() {}
