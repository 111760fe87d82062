#include "test_paths.h"

#include <SDL.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace zarvo_test {

static bool IsDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string SourceDir() {
    return ZARVO_SOURCE_DIR;
}

std::string CorpusDir() {
    const char* env = std::getenv("ZARVO_CORPUS");
    if (env && IsDir(env)) return env;
    const std::string beside = SourceDir() + "/../shared/corpus";
    return IsDir(beside) ? beside : std::string();
}

std::string MakeTempDir(const std::string& tag) {
    static std::atomic<int> counter{0};
    const std::string root = std::string(ZARVO_BINARY_DIR) + "/test-tmp";
    mkdir(root.c_str(), 0755);
    const std::string dir =
        root + "/" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    if (std::system(("rm -rf '" + dir + "'").c_str()) == 0) mkdir(dir.c_str(), 0755);
    return dir;
}

bool ReadFileBytes(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

std::string Damaged(const std::string& good, eDamage damage, size_t header) {
    switch (damage) {
    case CUT_AT_HALF:
        return good.substr(0, good.size() / 2);
    case CUT_TO_HEADER:
        return good.substr(0, header);
    case RANDOM_BYTES: {
        std::mt19937 random(25);
        std::string bytes(good.size(), '\0');
        for (char& b : bytes)
            b = char(random());
        return bytes;
    }
    default:
        return std::string();
    }
}

ScopedWorkDir::ScopedWorkDir(const std::string& tag) : dir_(MakeTempDir(tag)) {
    char buf[4096];
    if (getcwd(buf, sizeof buf)) previous_ = buf;
    if (chdir(dir_.c_str()) != 0) dir_.clear();
}

ScopedWorkDir::~ScopedWorkDir() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) std::abort();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    return bool(out << bytes);
}

std::string SaveBmp(int w, int h, std::initializer_list<Paint> paints, std::string path) {
    if (path.empty()) path = MakeTempDir("image") + "/image.bmp";
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    for (const Paint& p : paints) {
        SDL_Rect rect{Sint16(p.x), Sint16(p.y), Uint16(w - p.x), Uint16(h - p.y)};
        SDL_FillRect(s, &rect, SDL_MapRGB(s->format, p.r, p.g, p.b));
    }
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

} // namespace zarvo_test
