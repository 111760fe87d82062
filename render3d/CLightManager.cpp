#include "render3d/CLightManager.h"

CLightManager::CLightManager() {}

CLightManager::~CLightManager() {}
