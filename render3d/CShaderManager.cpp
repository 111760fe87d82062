#include "render3d/CShaderManager.h"

CShaderManager::CShaderManager() {}

CShaderManager::~CShaderManager() {}
