#include "core/Utils.h"

CUtils::CUtils() {}

CUtils::~CUtils() {}

unsigned int CUtils::CreateTexture(char* /*file*/) { return 0; }

unsigned int CUtils::CreateTextureFromBMP(char* /*file*/) { return 0; }
