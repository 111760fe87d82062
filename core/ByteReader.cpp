#include "core/ByteReader.h"

#include "core/DataPath.h"

#include <cstdio>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define ZARVO_MAP_FILES 1
#endif

bool ReadFileToMemory(const char* path, std::vector<uint8_t>& out) {
    out.clear();
    if (!path) return false;
    FILE* file = std::fopen(ResolveDataPath(path).c_str(), "rb");
    if (!file) return false;
    // Room for the whole file up front, so large files are not copied again as they grow.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) out.reserve(size_t(size));
        std::rewind(file);
    }
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        out.insert(out.end(), chunk, chunk + got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

CFileBytes::CFileBytes(const char* path) {
    if (!path) return;
#ifdef ZARVO_MAP_FILES
    const int fd = open(ResolveDataPath(path).c_str(), O_RDONLY);
    if (fd < 0) return;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE; // one call sets up every page instead of a fault per page
#endif
        void* mapped = mmap(nullptr, size_t(info.st_size), PROT_READ, flags, fd, 0);
        if (mapped != MAP_FAILED) {
            m_mapped = static_cast<const uint8_t*>(mapped);
            m_mappedSize = size_t(info.st_size);
            m_valid = true;
        }
    }
    close(fd);
    if (m_valid) return;
#endif
    m_valid = ReadFileToMemory(path, m_copy);
}

CFileBytes::~CFileBytes() {
#ifdef ZARVO_MAP_FILES
    if (m_mapped) munmap(const_cast<uint8_t*>(m_mapped), m_mappedSize);
#endif
}
