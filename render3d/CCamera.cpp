#include "render3d/CCamera.h"

CCamera::CCamera() {}

CCamera::~CCamera() {}
