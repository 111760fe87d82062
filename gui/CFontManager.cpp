#include "gui/CFontManager.h"

CFontManager::CFontManager() {}

CFontManager::~CFontManager() {}
