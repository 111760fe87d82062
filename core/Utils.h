#pragma once

class CUtils {
public:
    CUtils();
    ~CUtils();
    void CalculateFrameRate() {}
    int GetFPS() const { return 0; }
    float GetFrameInterval() const { return 0.0f; }
};
