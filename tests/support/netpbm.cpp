#include "netpbm.h"

#include <fstream>
#include <sstream>

namespace zarvo_test {

static bool Fail(std::string* error, const std::string& msg) {
    if (error) *error = msg;
    return false;
}

bool ReadNetpbm(const std::string& path, RefImage& out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(error, "cannot open " + path);
    std::string magic;
    in >> magic;
    int maxval = 255;
    if (magic == "P6") {
        in >> out.width >> out.height >> maxval;
        in.get();
        out.channels = 3;
    } else if (magic == "P7") {
        std::string line;
        int depth = 0;
        while (std::getline(in, line)) {
            std::istringstream ls(line);
            std::string key;
            ls >> key;
            if (key == "WIDTH")
                ls >> out.width;
            else if (key == "HEIGHT")
                ls >> out.height;
            else if (key == "DEPTH")
                ls >> depth;
            else if (key == "MAXVAL")
                ls >> maxval;
            else if (key == "ENDHDR")
                break;
        }
        out.channels = depth;
    } else {
        return Fail(error, "not a P6/P7 file: " + path);
    }
    if (maxval != 255 || out.width <= 0 || out.height <= 0 || out.channels <= 0)
        return Fail(error, "unsupported header in " + path);
    out.pixels.resize(size_t(out.width) * out.height * out.channels);
    in.read(reinterpret_cast<char*>(out.pixels.data()), std::streamsize(out.pixels.size()));
    if (size_t(in.gcount()) != out.pixels.size()) return Fail(error, "short pixel data in " + path);
    return true;
}

} // namespace zarvo_test
