#include "demos/testGameObject.h"

testGameObject::testGameObject() {}

testGameObject::~testGameObject() {}
