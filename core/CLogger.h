#pragma once

class CLogger {
public:
    CLogger();
    ~CLogger();

};
