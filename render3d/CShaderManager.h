#pragma once

class CShaderManager {
public:
    CShaderManager();
    ~CShaderManager();
    void LoadDefaultShaders() {}
};
