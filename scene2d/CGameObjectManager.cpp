#include "scene2d/CGameObjectManager.h"

CGameObjectManager::CGameObjectManager() {}

CGameObjectManager::~CGameObjectManager() {}
