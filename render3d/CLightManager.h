#pragma once

class CLightManager {
public:
    CLightManager();
    ~CLightManager();

};
