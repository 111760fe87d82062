#pragma once
// Where tests find the shared corpus and the source tree.
#include <initializer_list>
#include <string>

namespace zarvo_test {

// The corpus of real files made by other tools, or "" when it is not beside the checkout.
std::string CorpusDir();
std::string SourceDir();
// A fresh empty directory under the build tree, unique per call.
std::string MakeTempDir(const std::string& tag);
bool ReadFileBytes(const std::string& path, std::string& out);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Saves a w x h 24-bit BMP at `path` (by default image.bmp in a fresh folder; any name will do,
// the image library goes by the content) painted with each {x, y, r, g, b} in turn from (x, y)
// to the bottom-right corner, and returns the path.
struct Paint {
    int x, y;
    unsigned char r, g, b;
};
std::string SaveBmp(int w, int h, std::initializer_list<Paint> paints, std::string path = "");

// Makes a fresh temporary directory the working directory for the object's lifetime (for
// code that reads or writes fixed relative names such as the log file).
class ScopedWorkDir {
public:
    explicit ScopedWorkDir(const std::string& tag);
    ~ScopedWorkDir();
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_, previous_;
};

// Ways a data file arrives broken, for the loaders' failure paths.
enum eDamage { CUT_AT_HALF, CUT_TO_HEADER, RANDOM_BYTES, EMPTIED, REMOVED };
// What is left of `good` after the damage (the same bytes on every call); CUT_TO_HEADER
// keeps `header` bytes, REMOVED and EMPTIED leave nothing.
std::string Damaged(const std::string& good, eDamage damage, size_t header = 0);

} // namespace zarvo_test

// Skips the current test cleanly when the corpus is absent.
#define ZARVO_REQUIRE_CORPUS()                                                                     \
    do {                                                                                           \
        if (zarvo_test::CorpusDir().empty()) GTEST_SKIP() << "shared corpus not present";          \
    } while (0)
