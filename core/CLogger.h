#pragma once
#include <cstdio>

// The engine's log file, kept open for the whole run so that every write lands on disk
// even if the program dies right after it.
class CLogger {
public:
    CLogger();
    ~CLogger();
    CLogger(const CLogger&) = delete;
    CLogger& operator=(const CLogger&) = delete;

    // Appends the text as it is (no line end is added); echo also prints it with a line end.
    void write(const char* text, bool echo = false);

    bool IsOpen() const { return m_File != nullptr; }

private:
    static constexpr const char* kFileName = "Zarvo_Engine.log";
    std::FILE* m_File = nullptr;
};
