#include "math/CTriangle.h"

void CTriangle::SetPoints(CVector3 a, CVector3 b, CVector3 c) {
    points[0] = a;
    points[1] = b;
    points[2] = c;
}
