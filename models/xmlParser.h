#pragma once
// A small DOM-style XML reader for the engine's own model files. A document is parsed
// whole into a tree of reference-counted nodes; look-ups of child elements and
// attributes ignore letter case. Parsing and freeing walk the tree with explicit
// stacks, so nesting depth is limited by memory only, never by the call stack.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum XMLError {
    eXMLErrorNone = 0,
    eXMLWarningUnmatchedEndTag = 1,
    eXMLErrorEmpty = 2,
    eXMLErrorFirstNotStartTag = 3,
    eXMLErrorMissingTagName = 4,
    eXMLErrorMissingEndTagName = 5,
    eXMLErrorUnmatchedQuote = 6,
    eXMLErrorUnmatchedEndTag = 7,
    eXMLErrorUnmatchedEndClearTag = 8,
    eXMLErrorUnexpectedToken = 9,
    eXMLErrorInvalidTag = 10,
    eXMLErrorNoElements = 11,
    eXMLErrorFileNotFound = 12,
    eXMLErrorFirstTagNotFound = 13,
    eXMLErrorUnknownCharacterEntity = 14,
    eXMLErrorCharConversionError = 15,
    eXMLErrorCannotOpenWriteFile = 16,
    eXMLErrorCannotWriteFile = 17,
    eXMLErrorBase64DataSizeIsNotMultipleOf4 = 18,
    eXMLErrorBase64DecodeIllegalCharacter = 19,
    eXMLErrorBase64DecodeTruncatedData = 20,
    eXMLErrorBase64DecodeBufferTooSmall = 21
};

struct XMLResults {
    XMLError error = eXMLErrorNone;
    int nLine = 0;
    int nColumn = 0;
};

struct XMLAttribute {
    std::string name;
    std::string value;
};

// Content kept verbatim between a pair of delimiters (CDATA, comments, DOCTYPE...).
struct XMLClear {
    std::string value;
    const char* openTag;
    const char* closeTag;
};

// The delimiter pairs whose content is not parsed.
struct XMLClearTag {
    const char* open;
    const char* close;
};
extern const XMLClearTag XMLClearTags[5];

enum XMLElementType { eNodeChild = 0, eNodeText = 2, eNodeClear = 3 };

struct XMLNodeData;

class XMLNode {
public:
    XMLNode() = default;
    XMLNode(const XMLNode& other);
    XMLNode& operator=(const XMLNode& other);
    ~XMLNode();

    static XMLNode emptyXMLNode;

    // Opens a file and returns the node named tag. Any error or warning writes the
    // message to standard error and ends the process with exit code 255.
    static XMLNode openFileHelper(const char* fileName, const char* tag = nullptr);
    // The same steps without ending the process: on any non-zero code the empty node is
    // returned and *message (when given) receives the text openFileHelper would print.
    static XMLNode openFileChecked(const char* fileName, const char* tag,
                                   std::string* message = nullptr, XMLResults* results = nullptr);
    static XMLNode parseFile(const char* fileName, const char* tag = nullptr,
                             XMLResults* results = nullptr);
    static XMLNode parseString(const char* text, const char* tag = nullptr,
                               XMLResults* results = nullptr);
    // File contents already in memory: the byte-order-mark and UTF-16 step of parseFile,
    // then the parse.
    static XMLNode parseMemory(const uint8_t* bytes, size_t size, const char* tag = nullptr,
                               XMLResults* results = nullptr);
    // The same parse over a text of known length (embedded zeros are ordinary bytes).
    static XMLNode parseText(const char* text, size_t length, const char* tag = nullptr,
                             XMLResults* results = nullptr);

    static const char* getError(XMLError code);
    static void setGlobalOptions(bool guessWideCharChars = true, bool utf8 = true);
    // True when the first bytes of a file look like UTF-8 text (a byte-order mark, an
    // encoding="utf-8" declaration, or valid multi-byte sequences throughout).
    static bool guessUTF8ParsingParameterValue(const void* buffer, size_t length,
                                               bool useXMLEncodingAttribute = true);
    // The message openFileHelper shows for a result.
    static std::string formatError(const char* fileName, const char* tag,
                                   const XMLResults& results);

    bool isEmpty() const { return m_pData == nullptr; }
    const char* getName() const;
    bool isDeclaration() const;
    XMLNode getParentNode() const;

    int nChildNode() const;
    int nChildNode(const char* name) const;
    XMLNode getChildNode(int i) const;
    // First child element named `name` (any case) from index *i on; *i becomes the found
    // index plus one so repeated calls iterate.
    XMLNode getChildNode(const char* name, int* i = nullptr) const;
    // The j-th (0-based) child element named `name`.
    XMLNode getChildNode(const char* name, int j) const;

    int nAttribute() const;
    const XMLAttribute* getAttributeAt(int i) const;
    // Value of the first attribute named `name` (any case) from index *i on, advancing *i
    // like getChildNode; null when there is none. The string lives as long as the node.
    const char* getAttribute(const char* name, int* i = nullptr) const;
    const char* getAttribute(const char* name, int j) const;
    bool isAttributeSet(const char* name) const { return getAttribute(name) != nullptr; }

    int nText() const;
    const char* getText(int i = 0) const;
    int nClear() const;
    const XMLClear* getClear(int i = 0) const;
    // Children, texts and clear sections in document order.
    int nElement() const;
    XMLElementType getElementType(int i, int* indexInKind) const;

private:
    explicit XMLNode(XMLNodeData* data);
    friend struct XMLNodeData;
    friend class XMLParser;
    XMLNodeData* m_pData = nullptr;
};

// One line per element: its name and attributes in document order, indented two spaces
// per level (a declaration is marked with "?" and what it holds stays at its level). With
// withText, each line also carries the element's text and CDATA content.
std::string XMLOutline(const XMLNode& root, bool withText = false);

struct XMLNodeData {
    std::string name;
    bool isDeclaration = false;
    XMLNodeData* parent = nullptr;
    std::vector<XMLNode> children;
    std::vector<XMLAttribute> attributes;
    std::vector<std::string> texts;
    std::vector<XMLClear> clears;
    // (kind << 32) | index within that kind, in document order.
    std::vector<uint64_t> order;
    int refCount = 0;

    // Frees data whose count reached zero, and every descendant that no handle keeps,
    // with a work list instead of recursion.
    static void Release(XMLNodeData* data);
};
