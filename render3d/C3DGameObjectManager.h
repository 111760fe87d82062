#pragma once

class C3DGameObjectManager {
public:
    C3DGameObjectManager();
    ~C3DGameObjectManager();
    void Render() {}
};
