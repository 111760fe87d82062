#include "core/Utils.h"

CUtils::CUtils() {}

CUtils::~CUtils() {}
