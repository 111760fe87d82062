#include "core/CLogger.h"

CLogger::CLogger() {
    m_File = std::fopen(kFileName, "w");
    if (!m_File) {
        std::printf("Cannot create log file!\n");
        return;
    }
    std::fputs("Zarvo Engine Logger. Every engine message of this run follows.\n", m_File);
    std::fputs("Logger started...\n", m_File);
    std::fflush(m_File);
}

CLogger::~CLogger() {
    if (!m_File) return;
    std::fputs("Logger stopped...\n", m_File);
    std::fflush(m_File);
    std::fclose(m_File);
}

void CLogger::write(const char* text, bool echo) {
    if (!text) return;
    if (m_File) {
        std::fputs(text, m_File);
        std::fflush(m_File);
    }
    if (echo) std::printf("%s\n", text);
}
