// zarvo-info image: decodes a file with the reader texture creation would pick for it.
#include <cstdio>
#include <cstring>
#include <string>

#include "image/ImageDecode.h"
#include "tools/zarvo-info.h"

int RunImageInfo(int argc, char** argv) {
    const char* file = nullptr;
    const char* pamPath = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pam") == 0 && i + 1 < argc)
            pamPath = argv[++i];
        else if (!file)
            file = argv[i];
        else
            file = nullptr, i = argc;
    }
    if (!file) {
        std::fprintf(stderr, "usage: zarvo-info image FILE [--pam OUT.pam]\n");
        return 2;
    }
    sDecodedImage image;
    std::string error;
    eImageReader reader;
    const bool ok = DecodeImageFile(file, image, error, &reader);
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", ImageReaderName(reader), error.c_str());
        return 1;
    }
    std::printf("file: %s\nreader: %s\nwidth: %d\nheight: %d\ncomponents: %d\n", file,
                ImageReaderName(reader), image.width, image.height, image.components);
    if (pamPath && !WriteImagePam(pamPath, image, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
