#pragma once

class CUtils {
public:
    CUtils();
    ~CUtils();
    void CalculateFrameRate() {}
    int GetFPS() const { return 0; }
    double GetFrameInterval() const { return 0.0; }
    unsigned int CreateTexture(char* file);
    unsigned int CreateTextureFromBMP(char* file);
};
