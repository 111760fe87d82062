#pragma once

class CCameraManager {
public:
    CCameraManager();
    ~CCameraManager();
    void Look() {}
};
