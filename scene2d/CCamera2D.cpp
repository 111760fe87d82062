#include "scene2d/CCamera2D.h"
