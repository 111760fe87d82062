#pragma once
#include "math/3DMath.h"

#include <SDL.h>

// Frame timing shared by everything that moves, plus a few drawing aids, the
// tangent-space helper of parallax-mapped models and texture creation from image files.
class CUtils {
public:
    CUtils();
    ~CUtils();

    // Once per frame: measures the frame interval and, about once a second, the frame
    // rate, which also goes to the window caption. The timing state is shared by all
    // CUtils objects.
    void CalculateFrameRate();
    // Seconds between the last two frames, at most 1.0 so a stall moves nothing far.
    // At most a second; never negative, even when the clock is replaced or goes back.
    double GetFrameInterval() const {
        return m_FrameInterval > 1.0 ? 1.0 : m_FrameInterval < 0.0 ? 0.0 : m_FrameInterval;
    }
    int GetFPS() const { return m_FPS; }
    char* GetFPString() { return m_FPSText; }

    // Where CalculateFrameRate reads the time in milliseconds; null restores EngineTicks.
    using TickSource = Uint32 (*)();
    static void SetTickSource(TickSource source);

    // The clock everything that moves or animates reads by default, in milliseconds:
    // SDL_GetTicks, unless a fixed frame step is set. Then it starts at 0 and moves exactly
    // that step with each presented frame, so a run repeats exactly whatever the machine.
    static Uint32 EngineTicks();
    static void SetFixedFrameStep(Uint32 ms); // 0: the real time again; a new step starts at 0
    static void StepFixedClock();             // once per presented frame

    // Immediate-mode debug drawings; each turns 2D texturing off and leaves it off.
    void DrawCube(CVector3 position);
    void DrawBaseGrid(CVector3 position, unsigned int size);
    void DrawSimpleQuad(CVector3 position);
    void DrawCoordinateSystem();

    // Unit tangent (along +u) and bitangent (along -v) of a textured triangle. A
    // degenerate mapping leaves both outputs untouched.
    void ComputeTangentBasis(CVector3 p0, CVector3 p1, CVector3 p2, CVector2 uv0, CVector2 uv1,
                             CVector2 uv2, CVector3& tangent, CVector3& bitangent);

    unsigned int CreateTexture(char* file);
    unsigned int CreateTextureFromBMP(char* file);
    // The reading and row-swapping steps of CreateTextureFromBMP (null when unreadable).
    SDL_Surface* LoadBMP(const char* file);
    void swap(unsigned char& a, unsigned char& b);

private:
    int m_FPS = 0;
    double m_FrameInterval = 0.0;
    char m_FPSText[24] = {};
};
