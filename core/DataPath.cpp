#include "core/DataPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool IsDir(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Parent(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Build trees put programs one or two folders below the source root (build/zarvo,
// build/tools/zarvo-info), so the walk stops after a few steps instead of wandering
// up to a Data/ folder that belongs to something else.
std::string FolderBesideExecutable() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "";
    std::string dir = Parent(std::string(buffer, size_t(length)));
    for (int step = 0; step < 4; ++step) {
        if (IsDir(dir + "/Data") || IsDir(dir + "/shaders")) return dir;
        if (dir == "/") break;
        dir = Parent(dir);
    }
    return "";
}

const std::string& CachedExecutableRoot() {
    static const std::string root = FolderBesideExecutable();
    return root;
}

} // namespace

std::vector<std::string> DataRoots() {
    std::vector<std::string> roots;
    // The variable overrides the rest, so a test or a packaged game decides alone.
    if (const char* env = std::getenv("ZARVO_DATA_DIR"); env && *env) {
        if (IsDir(env)) roots.push_back(env);
        return roots;
    }
    if (!CachedExecutableRoot().empty()) roots.push_back(CachedExecutableRoot());
#ifdef ZARVO_INSTALL_DATADIR
    if (IsDir(ZARVO_INSTALL_DATADIR)) roots.push_back(ZARVO_INSTALL_DATADIR);
#endif
    return roots;
}

std::string ResolveDataPath(const std::string& path) {
    if (path.empty() || path[0] == '/' || Exists(path)) return path;
    for (const std::string& root : DataRoots()) {
        const std::string candidate = root + "/" + path;
        if (Exists(candidate)) return candidate;
    }
    return path;
}
