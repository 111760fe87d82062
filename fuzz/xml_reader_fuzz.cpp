// Feeds arbitrary bytes to the XML reader: it must parse or report an error, and a parsed
// tree must answer every look-up.
#include <cstddef>
#include <cstdint>

#include "models/xmlParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the walking mode and the wanted tag.
    static const char* const kTags[] = {nullptr, "a", "ZarvoModelFormat", "model"};
    XMLNode::setGlobalOptions(true, (data[0] & 1) != 0);
    const char* tag = kTags[(data[0] >> 1) & 3];
    XMLNode::guessUTF8ParsingParameterValue(data + 1, size - 1);
    XMLResults results;
    XMLNode root = XMLNode::parseMemory(data + 1, size - 1, tag, &results);
    if (root.isEmpty()) {
        if (results.error == eXMLErrorNone) __builtin_trap();
        return 0;
    }
    volatile size_t sink = XMLOutline(root, true).size();
    for (int i = 0; i < root.nChildNode(); ++i) {
        XMLNode child = root.getChildNode(i);
        int at = 0;
        while (!root.getChildNode(child.getName(), &at).isEmpty())
            sink = sink + size_t(at);
        for (int k = 0; k < child.nAttribute(); ++k)
            if (child.getAttribute(child.getAttributeAt(k)->name.c_str()) == nullptr)
                __builtin_trap();
        if (child.getParentNode().getName() != root.getName()) __builtin_trap();
    }
    return 0;
}
