#include "render3d/C3DGameObjectManager.h"

C3DGameObjectManager::C3DGameObjectManager() {}

C3DGameObjectManager::~C3DGameObjectManager() {}
