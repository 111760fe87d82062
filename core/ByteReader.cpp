#include "core/ByteReader.h"

#include "core/DataPath.h"

#include <cstdio>

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
