#pragma once

class CGameObjectManager {
public:
    CGameObjectManager();
    ~CGameObjectManager();
    void Render() {}
};
