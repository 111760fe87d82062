#include "image/CTextureManager.h"

CTextureManager::CTextureManager() {}

CTextureManager::~CTextureManager() {}
