#include "render3d/CCameraManager.h"

CCameraManager::CCameraManager() {}

CCameraManager::~CCameraManager() {}
