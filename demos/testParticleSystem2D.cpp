#include "demos/testParticleSystem2D.h"

testParticleSystem2D::testParticleSystem2D() {}

testParticleSystem2D::~testParticleSystem2D() {}
