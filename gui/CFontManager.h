#pragma once

class CFontManager {
public:
    CFontManager();
    ~CFontManager();
    void LoadFont(const char* /*file*/) {}
};
