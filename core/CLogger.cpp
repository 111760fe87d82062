#include "core/CLogger.h"

CLogger::CLogger() {}

CLogger::~CLogger() {}
