#pragma once

class CCamera {
public:
    CCamera();
    ~CCamera();

};
