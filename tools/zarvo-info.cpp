// zarvo-info: checks an asset with the engine's own readers before the engine sees it.
#include <cstdio>
#include <cstring>

#include "tools/zarvo-info.h"

namespace {

struct sSubcommand {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv); // argv[0] is the subcommand's first argument
};

const sSubcommand kSubcommands[] = {
    {"image", "image FILE [--pam OUT.pam]", RunImageInfo},
    {"model", "model FILE [--skin FILE] [--folder DIR] [--swap] [--json]", RunModelInfo},
    {"xml", "xml FILE [--tag NAME]", RunXmlInfo},
    {"md3", "md3 FOLDER NAME [WEAPON] [--json]", RunMd3Info},
};

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const sSubcommand& command : kSubcommands)
        std::fprintf(stderr, "  zarvo-info %s\n", command.usage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    for (const sSubcommand& command : kSubcommands)
        if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
    return Usage();
}
