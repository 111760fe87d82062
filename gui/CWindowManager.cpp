#include "gui/CWindowManager.h"

CWindowManager::CWindowManager() {}

CWindowManager::~CWindowManager() {}
