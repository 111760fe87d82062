#pragma once

struct SDL_Surface;

class CUtils {
public:
    CUtils();
    ~CUtils();
    void CalculateFrameRate() {}
    int GetFPS() const { return 0; }
    double GetFrameInterval() const { return 0.0; }
    unsigned int CreateTexture(char* file);
    unsigned int CreateTextureFromBMP(char* file);
    // The reading and row-swapping steps of CreateTextureFromBMP (null when unreadable).
    SDL_Surface* LoadBMP(const char* file);
    void swap(unsigned char& a, unsigned char& b);
};
