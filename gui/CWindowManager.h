#pragma once

class CWindowManager {
public:
    CWindowManager();
    ~CWindowManager();
    void MainLoop() {}
};
