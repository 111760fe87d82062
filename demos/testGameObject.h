#pragma once
// One 2D game object, drawn by the engine's 2D pass; the arrow keys steer it at 100
// pixels a second and holding R turns it a degree a frame.
#include "demos/Demo2D.h"

class CGameObject2D;

class testGameObject : public Demo2D {
public:
    testGameObject();
    ~testGameObject() override;

    // Registered with and owned by the 2D object manager.
    CGameObject2D* GetGameObject() const { return m_pGameObject; }

protected:
    void InitFeature() override;
    void HandleKeys() override;

private:
    CGameObject2D* m_pGameObject;
};
