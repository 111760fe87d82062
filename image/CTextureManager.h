#pragma once

class CTextureManager {
public:
    CTextureManager();
    ~CTextureManager();
};
