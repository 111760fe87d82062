#include "demos/DemoControls.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"

void MoveLightByArrowKeys(CLight& light, float step) {
    struct sArrow {
        SDLKey key;
        int axis; // 0 = x, 2 = z
        float sign;
    };
    static const sArrow kArrows[] = {
        {SDLK_LEFT, 0, 1.0f}, {SDLK_RIGHT, 0, -1.0f}, {SDLK_UP, 2, 1.0f}, {SDLK_DOWN, 2, -1.0f}};
    for (const sArrow& arrow : kArrows) {
        if (!g_EventManager->isKeyDown(arrow.key)) continue;
        float p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = light.GetPosition()[i];
        p[arrow.axis] += arrow.sign * step;
        light.SetPosition(p[0], p[1], p[2], p[3]);
    }
}

void UpdateFirstPersonCamera(bool& ready) {
    const int cx = int(g_Graphics->GetScreenWidth() / 2.0f);
    const int cy = int(g_Graphics->GetScreenHeight() / 2.0f);
    if (!ready) {
        ready = g_EventManager->GetMouseX() == cx && g_EventManager->GetMouseY() == cy;
        if (!ready) g_Graphics->SetMouseToCenter();
    }
    if (ready)
        g_Camera->Update();
    else
        g_Camera->CheckForMovement();
}
