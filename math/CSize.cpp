#include "math/CSize.h"

CSize::CSize() : width(0.0f), height(0.0f) {}
