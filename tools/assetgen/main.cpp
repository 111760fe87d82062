// zarvo-assets: writes every data file the demos load under <root>/Data.
// Usage: zarvo-assets [root]   (default: the current directory)
#include "tools/assetgen/content.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    std::string root = argc > 1 ? argv[1] : ".";
    try {
        assetgen::WriteFonts(root);
        assetgen::WriteImages2d(root);
        assetgen::WriteMd2Characters(root);
        assetgen::WriteMd3Character(root);
        assetgen::WriteScene3ds(root);
        assetgen::WriteXmlModel(root);
        assetgen::WriteGuiContent(root);
        assetgen::WriteOutdoor(root);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zarvo-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
