// zarvo-info xml: parses a document with the engine's XML reader, as the engine opens
// it, and prints either the error with its position or an outline of the tree.
#include <cstdio>
#include <string>

#include "models/xmlParser.h"
#include "tools/zarvo-info.h"

int RunXmlInfo(int argc, char** argv) {
    std::string file, tag;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tag" && i + 1 < argc)
            tag = argv[++i];
        else if (file.empty() && arg.rfind("--", 0) != 0)
            file = arg;
        else
            file.clear(), i = argc;
    }
    if (file.empty()) {
        std::fprintf(stderr, "usage: zarvo-info xml FILE [--tag NAME]\n");
        return 2;
    }
    XMLResults results;
    XMLNode root = XMLNode::openFileChecked(file.c_str(), tag.empty() ? nullptr : tag.c_str(),
                                            nullptr, &results);
    if (root.isEmpty()) {
        std::printf("%s: error %d: %s\nline %d, column %d\n", file.c_str(), int(results.error),
                    XMLNode::getError(results.error), results.nLine, results.nColumn);
        return 1;
    }
    std::fputs(XMLOutline(root).c_str(), stdout);
    return 0;
}
