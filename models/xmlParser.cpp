#include "models/xmlParser.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "core/ByteReader.h"

const XMLClearTag XMLClearTags[5] = {{"<![CDATA[", "]]>"},
                                     {"<PRE>", "</PRE>"},
                                     {"<Script>", "</Script>"},
                                     {"<!--", "-->"},
                                     {"<!DOCTYPE", ">"}};

XMLNode XMLNode::emptyXMLNode;

namespace {

bool g_GuessWideChars = true;
bool g_Utf8 = true;

const char* const kErrorTexts[] = {
    "No error",
    "Warning: Unmatched end tag",
    "Error: No XML data",
    "Error: First token not start tag",
    "Error: Missing start tag name",
    "Error: Missing end tag name",
    "Error: Unmatched quote",
    "Error: Unmatched end tag",
    "Error: Unmatched clear tag end",
    "Error: Unexpected token found",
    "Error: Invalid tag found",
    "Error: No elements found",
    "Error: File not found",
    "Error: First Tag not found",
    "Error: Unknown character entity",
    "Error: unable to convert between UNICODE and MultiByte chars",
    "Error: unable to open file for writing",
    "Error: cannot write into file",
    "Warning: Base64-string length is not a multiple of 4",
    "Error: Base64-string contains an illegal character",
    "Warning: Base64-string is truncated",
    "Error: Base64 decode output buffer is too small",
};

// Length of a UTF-8 sequence from its first byte; stray continuation bytes and bytes
// that cannot start a sequence count as one.
struct Utf8LengthTable {
    unsigned char length[256];
    constexpr Utf8LengthTable() : length() {
        for (int c = 0; c < 256; ++c)
            length[c] = c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xC0 ? 2 : 1;
        for (int c = 0xF8; c < 256; ++c)
            length[c] = 1;
    }
};
constexpr Utf8LengthTable kUtf8Length;

inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

inline bool IsNameEnd(char c) {
    return IsSpace(c) || c == '/' || c == '<' || c == '>' || c == '=';
}

bool AllSpace(const char* b, const char* e) {
    for (; b < e; ++b)
        if (!IsSpace(*b)) return false;
    return true;
}

bool EqualsNoCase(const std::string& a, const char* b, size_t n) {
    return a.size() == n && strncasecmp(a.data(), b, n) == 0;
}

bool EqualsNoCase(const std::string& a, const char* b) {
    return EqualsNoCase(a, b, std::strlen(b));
}

bool StartsWithNoCase(const char* p, const char* end, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return size_t(end - p) >= n && strncasecmp(p, prefix, n) == 0;
}

// Case-insensitive search; the delimiters searched for are a few bytes long.
const char* FindNoCase(const char* p, const char* end, const char* what) {
    const size_t n = std::strlen(what);
    for (; size_t(end - p) >= n; ++p)
        if (strncasecmp(p, what, n) == 0) return p;
    return nullptr;
}

// XML's Char production: what a numeric reference may name.
bool IsXmlChar(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes the character entities of [b, e) into out. On an unknown or unterminated
// entity returns false with *errorAt at its ampersand. Every step moves forward, so the
// cost is linear whatever the text holds.
bool DecodeEntities(const char* b, const char* e, std::string& out, const char** errorAt) {
    const char* amp = static_cast<const char*>(std::memchr(b, '&', size_t(e - b)));
    if (amp == nullptr) {
        out.assign(b, size_t(e - b));
        return true;
    }
    out.clear();
    out.reserve(size_t(e - b));
    static const struct {
        const char* name;
        char value;
    } kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    while (amp != nullptr) {
        out.append(b, size_t(amp - b));
        const char* s = amp + 1;
        *errorAt = amp;
        if (s < e && *s == '#') {
            ++s;
            const bool hex = s < e && (*s == 'x' || *s == 'X');
            if (hex) ++s;
            const uint32_t base = hex ? 16 : 10;
            uint32_t value = 0;
            int digits = 0;
            for (; s < e; ++s) {
                const int d = hex ? HexDigit(*s) : (*s >= '0' && *s <= '9' ? *s - '0' : -1);
                if (d < 0) break;
                // Saturate above the last code point so long digit runs cannot overflow.
                value = std::min<uint32_t>(value * base + uint32_t(d), 0x110000);
                ++digits;
            }
            if (digits == 0 || s >= e || *s != ';' || !IsXmlChar(value)) return false;
            AppendUtf8(out, value);
        } else {
            const char* name = s;
            while (s < e && ((*s >= 'a' && *s <= 'z') || (*s >= 'A' && *s <= 'Z')))
                ++s;
            if (s >= e || *s != ';') return false;
            const size_t n = size_t(s - name);
            bool known = false;
            for (const auto& entity : kNamed)
                if (std::strlen(entity.name) == n && std::memcmp(entity.name, name, n) == 0) {
                    out += entity.value;
                    known = true;
                    break;
                }
            if (!known) return false;
        }
        b = s + 1;
        amp = static_cast<const char*>(std::memchr(b, '&', size_t(e - b)));
    }
    out.append(b, size_t(e - b));
    return true;
}

void CountPosition(const char* begin, const char* pos, XMLResults& results) {
    int line = 1, column = 1;
    for (const char* p = begin; p < pos;) {
        if (*p == '\n') {
            ++line;
            column = 1;
            ++p;
            continue;
        }
        ++column;
        const size_t step = g_Utf8 ? kUtf8Length.length[static_cast<unsigned char>(*p)] : 1;
        p += std::min<size_t>(step, size_t(pos - p));
    }
    results.nLine = line;
    results.nColumn = column;
}

// UTF-16 recognition: a byte-order mark, or (without one) ASCII-range text whose every
// other byte is zero.
bool LooksLikeUtf16(const uint8_t* b, size_t size, bool& bigEndian, size_t& skip) {
    skip = 0;
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        bigEndian = false;
        skip = 2;
        return true;
    }
    if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        bigEndian = true;
        skip = 2;
        return true;
    }
    const size_t units = std::min<size_t>(size / 2, 256);
    if (units < 2) return false;
    size_t zeroLow = 0, zeroHigh = 0;
    for (size_t i = 0; i < units; ++i) {
        zeroLow += b[2 * i] == 0;
        zeroHigh += b[2 * i + 1] == 0;
    }
    if (zeroHigh * 4 >= units * 3 && zeroLow == 0) {
        bigEndian = false;
        return true;
    }
    if (zeroLow * 4 >= units * 3 && zeroHigh == 0) {
        bigEndian = true;
        return true;
    }
    return false;
}

// UTF-16 to UTF-8; false on a lone surrogate.
bool Utf16ToUtf8(const uint8_t* b, size_t units, bool bigEndian, std::string& out) {
    out.clear();
    out.reserve(units);
    auto unit = [&](size_t i) {
        return bigEndian ? uint32_t(b[2 * i] << 8 | b[2 * i + 1])
                         : uint32_t(b[2 * i + 1] << 8 | b[2 * i]);
    };
    for (size_t i = 0; i < units; ++i) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= units) return false;
            const uint32_t low = unit(i + 1);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
        AppendUtf8(out, c);
    }
    return true;
}

} // namespace

// ---- node handles ------------------------------------------------------------------------

void XMLNodeData::Release(XMLNodeData* data) {
    std::vector<XMLNodeData*> work{data};
    while (!work.empty()) {
        XMLNodeData* node = work.back();
        work.pop_back();
        for (XMLNode& child : node->children) {
            XMLNodeData* c = child.m_pData;
            child.m_pData = nullptr;
            if (c == nullptr) continue;
            if (--c->refCount == 0)
                work.push_back(c);
            else
                c->parent = nullptr; // a handle outlives its parent
        }
        delete node;
    }
}

XMLNode::XMLNode(XMLNodeData* data) : m_pData(data) {
    if (m_pData) ++m_pData->refCount;
}

XMLNode::XMLNode(const XMLNode& other) : m_pData(other.m_pData) {
    if (m_pData) ++m_pData->refCount;
}

XMLNode& XMLNode::operator=(const XMLNode& other) {
    if (other.m_pData) ++other.m_pData->refCount;
    if (m_pData && --m_pData->refCount == 0) XMLNodeData::Release(m_pData);
    m_pData = other.m_pData;
    return *this;
}

XMLNode::~XMLNode() {
    if (m_pData && --m_pData->refCount == 0) XMLNodeData::Release(m_pData);
}

const char* XMLNode::getName() const {
    return m_pData ? m_pData->name.c_str() : nullptr;
}

bool XMLNode::isDeclaration() const {
    return m_pData && m_pData->isDeclaration;
}

XMLNode XMLNode::getParentNode() const {
    return m_pData && m_pData->parent ? XMLNode(m_pData->parent) : XMLNode();
}

int XMLNode::nChildNode() const {
    return m_pData ? int(m_pData->children.size()) : 0;
}

int XMLNode::nChildNode(const char* name) const {
    if (!m_pData || !name) return 0;
    int n = 0;
    for (const XMLNode& c : m_pData->children)
        n += EqualsNoCase(c.m_pData->name, name);
    return n;
}

XMLNode XMLNode::getChildNode(int i) const {
    if (!m_pData || i < 0 || size_t(i) >= m_pData->children.size()) return XMLNode();
    return m_pData->children[size_t(i)];
}

XMLNode XMLNode::getChildNode(const char* name, int* i) const {
    if (!m_pData || !name) return XMLNode();
    const int from = i ? std::max(*i, 0) : 0;
    const size_t n = std::strlen(name);
    for (size_t k = size_t(from); k < m_pData->children.size(); ++k)
        if (EqualsNoCase(m_pData->children[k].m_pData->name, name, n)) {
            if (i) *i = int(k) + 1;
            return m_pData->children[k];
        }
    return XMLNode();
}

XMLNode XMLNode::getChildNode(const char* name, int j) const {
    if (!m_pData || !name || j < 0) return XMLNode();
    const size_t n = std::strlen(name);
    for (const XMLNode& c : m_pData->children)
        if (EqualsNoCase(c.m_pData->name, name, n) && j-- == 0) return c;
    return XMLNode();
}

int XMLNode::nAttribute() const {
    return m_pData ? int(m_pData->attributes.size()) : 0;
}

const XMLAttribute* XMLNode::getAttributeAt(int i) const {
    if (!m_pData || i < 0 || size_t(i) >= m_pData->attributes.size()) return nullptr;
    return &m_pData->attributes[size_t(i)];
}

const char* XMLNode::getAttribute(const char* name, int* i) const {
    if (!m_pData || !name) return nullptr;
    const int from = i ? std::max(*i, 0) : 0;
    const size_t n = std::strlen(name);
    for (size_t k = size_t(from); k < m_pData->attributes.size(); ++k)
        if (EqualsNoCase(m_pData->attributes[k].name, name, n)) {
            if (i) *i = int(k) + 1;
            return m_pData->attributes[k].value.c_str();
        }
    return nullptr;
}

const char* XMLNode::getAttribute(const char* name, int j) const {
    if (!m_pData || !name || j < 0) return nullptr;
    const size_t n = std::strlen(name);
    for (const XMLAttribute& a : m_pData->attributes)
        if (EqualsNoCase(a.name, name, n) && j-- == 0) return a.value.c_str();
    return nullptr;
}

int XMLNode::nText() const {
    return m_pData ? int(m_pData->texts.size()) : 0;
}

const char* XMLNode::getText(int i) const {
    if (!m_pData || i < 0 || size_t(i) >= m_pData->texts.size()) return nullptr;
    return m_pData->texts[size_t(i)].c_str();
}

int XMLNode::nClear() const {
    return m_pData ? int(m_pData->clears.size()) : 0;
}

const XMLClear* XMLNode::getClear(int i) const {
    if (!m_pData || i < 0 || size_t(i) >= m_pData->clears.size()) return nullptr;
    return &m_pData->clears[size_t(i)];
}

int XMLNode::nElement() const {
    return m_pData ? int(m_pData->order.size()) : 0;
}

XMLElementType XMLNode::getElementType(int i, int* indexInKind) const {
    const uint64_t entry = m_pData->order.at(size_t(i));
    if (indexInKind) *indexInKind = int(entry & 0xFFFFFFFFu);
    return XMLElementType(entry >> 32);
}

// ---- parsing -----------------------------------------------------------------------------

class XMLParser {
public:
    XMLParser(const char* text, size_t length)
        : m_Begin(text), m_End(text + length), m_Top(new XMLNodeData) {}

    // Builds the tree under the nameless top node. Stops at the first error; warning 1
    // is remembered (with the first position) and parsing goes on.
    void Run();

    XMLNode Top() const { return XMLNode(m_Top); }
    XMLError Error() const { return m_Error; }
    const char* ErrorAt() const { return m_ErrorAt; }

private:
    enum TagEnd { kOpen, kClosed, kFailed };

    bool Fail(XMLError code, const char* at) {
        m_Error = code;
        m_ErrorAt = at;
        return false;
    }
    XMLNodeData* Current() const { return m_Stack.back(); }
    XMLNodeData* AddChild(const char* name, size_t n, bool declaration);
    bool ParseText(const char*& p);
    bool ParseClear(const char*& p, const XMLClearTag& tag);
    bool ParseEndTag(const char*& p);
    bool ParseStartTag(const char*& p, bool declaration);
    TagEnd ParseAttributes(XMLNodeData* node, const char*& p, const char* tagStart,
                           bool declaration);
    TagEnd ParseAttributeList(const char*& p, const char* tagStart, bool declaration);

    const char* m_Begin;
    const char* m_End;
    XMLNodeData* m_Top;
    // Open nodes; the top node is always at the bottom.
    std::vector<XMLNodeData*> m_Stack;
    // Open elements that are not declarations: zero means text is outside the document.
    size_t m_ElementDepth = 0;
    XMLError m_Error = eXMLErrorNone;
    const char* m_ErrorAt = nullptr;
    std::string m_Scratch;
    std::vector<XMLAttribute> m_Attributes;
};

XMLNodeData* XMLParser::AddChild(const char* name, size_t n, bool declaration) {
    XMLNodeData* parent = Current();
    auto* node = new XMLNodeData;
    node->name.assign(name, n);
    node->isDeclaration = declaration;
    node->parent = parent;
    parent->children.push_back(XMLNode(node));
    parent->order.push_back(uint64_t(eNodeChild) << 32 | (parent->children.size() - 1));
    return node;
}

bool XMLParser::ParseText(const char*& p) {
    const char* lt = static_cast<const char*>(std::memchr(p, '<', size_t(m_End - p)));
    const char* q = lt ? lt : m_End;
    if (!AllSpace(p, q)) {
        if (m_ElementDepth == 0) return Fail(eXMLErrorFirstNotStartTag, p);
        const char* bad = nullptr;
        if (!DecodeEntities(p, q, m_Scratch, &bad))
            return Fail(eXMLErrorUnknownCharacterEntity, bad);
        XMLNodeData* node = Current();
        node->texts.push_back(m_Scratch);
        node->order.push_back(uint64_t(eNodeText) << 32 | (node->texts.size() - 1));
    }
    p = q;
    return true;
}

bool XMLParser::ParseClear(const char*& p, const XMLClearTag& tag) {
    const char* content = p + std::strlen(tag.open);
    const char* close = FindNoCase(content, m_End, tag.close);
    if (close == nullptr) return Fail(eXMLErrorUnmatchedEndClearTag, p);
    XMLNodeData* node = Current();
    node->clears.push_back(XMLClear{std::string(content, close), tag.open, tag.close});
    node->order.push_back(uint64_t(eNodeClear) << 32 | (node->clears.size() - 1));
    p = close + std::strlen(tag.close);
    return true;
}

bool XMLParser::ParseEndTag(const char*& p) {
    const char* tagStart = p;
    const char* name = p + 2;
    const char* q = name;
    while (q < m_End && !IsNameEnd(*q))
        ++q;
    if (q == name) return Fail(eXMLErrorMissingEndTagName, tagStart);
    const char* r = q;
    while (r < m_End && IsSpace(*r))
        ++r;
    if (r >= m_End || *r != '>') return Fail(eXMLErrorInvalidTag, tagStart);
    // The nearest open element of that name; declarations in between close silently.
    size_t k = m_Stack.size() - 1;
    bool inner = true;
    for (; k > 0; --k) {
        if (m_Stack[k]->isDeclaration) continue;
        if (EqualsNoCase(m_Stack[k]->name, name, size_t(q - name))) break;
        inner = false;
    }
    if (k == 0) return Fail(eXMLErrorUnmatchedEndTag, tagStart);
    if (!inner && m_Error == eXMLErrorNone) {
        m_Error = eXMLWarningUnmatchedEndTag;
        m_ErrorAt = tagStart;
    }
    while (m_Stack.size() > k) {
        if (!m_Stack.back()->isDeclaration) --m_ElementDepth;
        m_Stack.pop_back();
    }
    p = r + 1;
    return true;
}

XMLParser::TagEnd XMLParser::ParseAttributes(XMLNodeData* node, const char*& p,
                                             const char* tagStart, bool declaration) {
    // Attributes gather in a reused list and move to the node in one allocation.
    m_Attributes.clear();
    const TagEnd end = ParseAttributeList(p, tagStart, declaration);
    node->attributes.assign(std::make_move_iterator(m_Attributes.begin()),
                            std::make_move_iterator(m_Attributes.end()));
    return end;
}

XMLParser::TagEnd XMLParser::ParseAttributeList(const char*& p, const char* tagStart,
                                                bool declaration) {
    for (;;) {
        while (p < m_End && IsSpace(*p))
            ++p;
        if (p >= m_End) return Fail(eXMLErrorInvalidTag, tagStart), kFailed;
        const char c = *p;
        if (!declaration && c == '>') {
            ++p;
            return kOpen;
        }
        const char closer = declaration ? '?' : '/';
        if (c == closer || c == '/' || c == '?') {
            if (c == closer && p + 1 < m_End && p[1] == '>') {
                p += 2;
                // A declaration stays open: what follows it belongs to it.
                return declaration ? kOpen : kClosed;
            }
            return Fail(eXMLErrorUnexpectedToken, p), kFailed;
        }
        if (c == '<') return Fail(eXMLErrorInvalidTag, p), kFailed;
        if (c == '=' || c == '>') return Fail(eXMLErrorUnexpectedToken, p), kFailed;
        const char* name = p;
        while (p < m_End && !IsNameEnd(*p) && *p != '?')
            ++p;
        m_Attributes.emplace_back();
        XMLAttribute& attribute = m_Attributes.back();
        attribute.name.assign(name, size_t(p - name));
        while (p < m_End && IsSpace(*p))
            ++p;
        if (p >= m_End || *p != '=') continue; // an attribute without a value
        ++p;
        while (p < m_End && IsSpace(*p))
            ++p;
        if (p >= m_End) return Fail(eXMLErrorInvalidTag, tagStart), kFailed;
        const char* valueBegin;
        const char* valueEnd;
        if (*p == '"' || *p == '\'') {
            valueBegin = p + 1;
            valueEnd =
                static_cast<const char*>(std::memchr(valueBegin, *p, size_t(m_End - valueBegin)));
            if (valueEnd == nullptr) return Fail(eXMLErrorUnmatchedQuote, p), kFailed;
            p = valueEnd + 1;
        } else {
            valueBegin = p;
            while (p < m_End && !IsSpace(*p) && *p != '>' &&
                   !((*p == '/' || *p == '?') && p + 1 < m_End && p[1] == '>'))
                ++p;
            if (p == valueBegin) return Fail(eXMLErrorUnexpectedToken, p), kFailed;
            valueEnd = p;
        }
        const char* bad = nullptr;
        if (!DecodeEntities(valueBegin, valueEnd, attribute.value, &bad))
            return Fail(eXMLErrorUnknownCharacterEntity, bad), kFailed;
    }
}

bool XMLParser::ParseStartTag(const char*& p, bool declaration) {
    const char* tagStart = p;
    const char* name = p + (declaration ? 2 : 1);
    const char* q = name;
    while (q < m_End && !IsNameEnd(*q) && !(declaration && *q == '?'))
        ++q;
    if (q == name) return Fail(eXMLErrorMissingTagName, tagStart);
    XMLNodeData* node = AddChild(name, size_t(q - name), declaration);
    p = q;
    const TagEnd end = ParseAttributes(node, p, tagStart, declaration);
    if (end == kFailed) return false;
    // Only a declaration at the top holds what follows it (that is how the document
    // element is found inside the xml declaration); inside an element it is a leaf.
    if (end == kOpen && !(declaration && m_ElementDepth > 0)) {
        m_Stack.push_back(node);
        if (!declaration) ++m_ElementDepth;
    }
    return true;
}

void XMLParser::Run() {
    m_Stack.assign(1, m_Top);
    const char* p = m_Begin;
    while (p < m_End) {
        bool ok;
        if (*p != '<') {
            ok = ParseText(p);
        } else {
            const char next = p + 1 < m_End ? p[1] : '\0';
            // Every clear section opens with "<!", "<P" or "<S" (any case).
            const XMLClearTag* clear = nullptr;
            if (next == '!' || next == 'p' || next == 'P' || next == 's' || next == 'S')
                for (const XMLClearTag& tag : XMLClearTags)
                    if (StartsWithNoCase(p, m_End, tag.open)) {
                        clear = &tag;
                        break;
                    }
            if (clear)
                ok = ParseClear(p, *clear);
            else if (next == '/')
                ok = ParseEndTag(p);
            else if (next == '!')
                ok = Fail(eXMLErrorInvalidTag, p);
            else
                ok = ParseStartTag(p, next == '?');
        }
        if (!ok) return;
    }
}

XMLNode XMLNode::parseText(const char* text, size_t length, const char* tag, XMLResults* results) {
    XMLResults local;
    XMLResults& r = results ? *results : local;
    r = XMLResults();
    // The text ends at its first zero byte, as a C string would.
    if (const void* zero = text ? std::memchr(text, 0, length) : nullptr)
        length = size_t(static_cast<const char*>(zero) - text);
    if (text == nullptr || length == 0) {
        r.error = eXMLErrorEmpty;
        CountPosition(text, text, r);
        return XMLNode();
    }
    XMLParser parser(text, length);
    parser.Run();
    XMLNode top = parser.Top();
    r.error = parser.Error();
    const char* errorAt = parser.ErrorAt();

    // Any element at all, looking through declarations (they hold what follows them).
    if (r.error == eXMLErrorNone || r.error == eXMLWarningUnmatchedEndTag) {
        bool found = false;
        for (XMLNodeData* scope = top.m_pData; scope && !found;) {
            XMLNodeData* next = nullptr;
            for (const XMLNode& c : scope->children) {
                if (!c.m_pData->isDeclaration) {
                    found = true;
                    break;
                }
                next = c.m_pData;
            }
            scope = next;
        }
        if (!found) {
            r.error = eXMLErrorNoElements;
            errorAt = text + length;
        }
    }
    if (r.error != eXMLErrorNone && r.error != eXMLWarningUnmatchedEndTag) {
        CountPosition(text, errorAt, r);
        return XMLNode();
    }

    XMLNode document = top;
    XMLNodeData* t = top.m_pData;
    if (t->children.size() == 1 && t->texts.empty() && t->clears.empty()) document = t->children[0];
    if (tag && *tag && !EqualsNoCase(document.m_pData->name, tag)) {
        XMLNode found;
        const size_t n = std::strlen(tag);
        for (XMLNodeData* scope = t; scope && found.isEmpty();) {
            XMLNodeData* next = nullptr;
            for (const XMLNode& c : scope->children) {
                if (c.m_pData->isDeclaration) {
                    next = c.m_pData;
                    break;
                }
                if (EqualsNoCase(c.m_pData->name, tag, n)) {
                    found = c;
                    break;
                }
            }
            scope = found.isEmpty() ? next : nullptr;
        }
        if (found.isEmpty()) {
            r.error = eXMLErrorFirstTagNotFound;
            CountPosition(text, text, r);
            return XMLNode();
        }
        document = found;
    }
    if (r.error == eXMLWarningUnmatchedEndTag) CountPosition(text, errorAt, r);
    return document;
}

XMLNode XMLNode::parseString(const char* text, const char* tag, XMLResults* results) {
    return parseText(text, text ? std::strlen(text) : 0, tag, results);
}

XMLNode XMLNode::parseMemory(const uint8_t* bytes, size_t size, const char* tag,
                             XMLResults* results) {
    XMLResults local;
    XMLResults& r = results ? *results : local;
    r = XMLResults();
    if (bytes == nullptr || size == 0) {
        r.error = eXMLErrorEmpty;
        return XMLNode();
    }
    bool bigEndian = false;
    size_t skip = 0;
    if (g_GuessWideChars && LooksLikeUtf16(bytes, size, bigEndian, skip)) {
        std::string converted;
        if (!Utf16ToUtf8(bytes + skip, (size - skip) / 2, bigEndian, converted)) {
            r.error = eXMLErrorCharConversionError;
            return XMLNode();
        }
        return parseText(converted.data(), converted.size(), tag, &r);
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) skip = 3;
    return parseText(reinterpret_cast<const char*>(bytes) + skip, size - skip, tag, &r);
}

XMLNode XMLNode::parseFile(const char* fileName, const char* tag, XMLResults* results) {
    XMLResults local;
    XMLResults& r = results ? *results : local;
    r = XMLResults();
    std::vector<uint8_t> bytes;
    if (fileName == nullptr || !ReadFileToMemory(fileName, bytes)) {
        r.error = eXMLErrorFileNotFound;
        return XMLNode();
    }
    return parseMemory(bytes.data(), bytes.size(), tag, &r);
}

XMLNode XMLNode::openFileChecked(const char* fileName, const char* tag, std::string* message,
                                 XMLResults* results) {
    XMLResults r;
    XMLNode node;
    std::vector<uint8_t> bytes;
    if (fileName == nullptr || !ReadFileToMemory(fileName, bytes)) {
        r.error = eXMLErrorFileNotFound;
    } else {
        setGlobalOptions(true, guessUTF8ParsingParameterValue(bytes.data(),
                                                              std::min<size_t>(bytes.size(), 200)));
        node = parseMemory(bytes.data(), bytes.size(), tag, &r);
    }
    if (results) *results = r;
    if (r.error == eXMLErrorNone) return node;
    if (message) *message = formatError(fileName ? fileName : "", tag, r);
    return XMLNode();
}

XMLNode XMLNode::openFileHelper(const char* fileName, const char* tag) {
    std::string message;
    XMLNode node = openFileChecked(fileName, tag, &message);
    if (node.isEmpty()) {
        std::fputs(message.c_str(), stderr);
        std::fflush(stderr);
        std::exit(255);
    }
    return node;
}

std::string XMLNode::formatError(const char* fileName, const char* tag, const XMLResults& results) {
    const bool firstTag = results.error == eXMLErrorFirstTagNotFound;
    std::string out = "XML Parsing error inside file '";
    out += fileName;
    out += "'.\n";
    out += getError(results.error);
    char position[64];
    std::snprintf(position, sizeof(position), "\nAt line %i, column %i.\n", results.nLine,
                  results.nColumn);
    out += position;
    if (firstTag) {
        out += "First Tag should be '";
        out += tag ? tag : "";
        out += "'.\n";
    }
    return out;
}

const char* XMLNode::getError(XMLError code) {
    const int i = int(code);
    return i >= 0 && i < int(sizeof(kErrorTexts) / sizeof(kErrorTexts[0])) ? kErrorTexts[i]
                                                                           : "Unknown";
}

void XMLNode::setGlobalOptions(bool guessWideCharChars, bool utf8) {
    g_GuessWideChars = guessWideCharChars;
    g_Utf8 = utf8;
}

bool XMLNode::guessUTF8ParsingParameterValue(const void* buffer, size_t length,
                                             bool useXMLEncodingAttribute) {
    const auto* b = static_cast<const uint8_t*>(buffer);
    if (b == nullptr || length == 0) return true;
    if (length >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return true;
    const char* text = reinterpret_cast<const char*>(b);
    const char* end = text + length;
    if (useXMLEncodingAttribute && StartsWithNoCase(text, end, "<?xml")) {
        const char* declEnd = FindNoCase(text, end, "?>");
        const char* enc = FindNoCase(text, declEnd ? declEnd : end, "encoding");
        if (enc) {
            const char* p = enc + 8;
            while (p < end && (IsSpace(*p) || *p == '='))
                ++p;
            if (p < end && (*p == '"' || *p == '\'')) {
                const char quote = *p++;
                const char* q = p;
                while (q < end && *q != quote)
                    ++q;
                const std::string name(p, q);
                return EqualsNoCase(name, "utf-8") || EqualsNoCase(name, "utf8") ||
                       EqualsNoCase(name, "us-ascii") || EqualsNoCase(name, "ascii");
            }
        }
    }
    for (size_t i = 0; i < length;) {
        const uint8_t c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c < 0xC2 || c > 0xF4) return false;
        const size_t n = kUtf8Length.length[c];
        for (size_t k = 1; k < n; ++k) {
            if (i + k >= length) return true; // cut by the sample's end
            if ((b[i + k] & 0xC0) != 0x80) return false;
        }
        i += n;
    }
    return true;
}

namespace {

void AppendEscaped(std::string& out, const std::string& s) {
    for (const char c : s) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == '"' || c == '\\')
            out += '\\', out += c;
        else
            out += c;
    }
}

} // namespace

std::string XMLOutline(const XMLNode& root, bool withText) {
    std::string out;
    if (root.isEmpty()) return out;
    // (node, depth); declarations print their own line and keep their children at
    // their depth, since what they hold follows them in the document.
    std::vector<std::pair<XMLNode, int>> work{{root, 0}};
    while (!work.empty()) {
        const XMLNode node = work.back().first;
        const int depth = work.back().second;
        work.pop_back();
        out.append(size_t(depth) * 2, ' ');
        if (node.isDeclaration()) out += '?';
        out += node.getName();
        for (int i = 0; i < node.nAttribute(); ++i) {
            const XMLAttribute* a = node.getAttributeAt(i);
            out += ' ';
            out += a->name;
            out += "=\"";
            AppendEscaped(out, a->value);
            out += '"';
        }
        if (withText) {
            std::string text;
            for (int i = 0; i < node.nElement(); ++i) {
                int k = 0;
                const XMLElementType type = node.getElementType(i, &k);
                if (type == eNodeText) text += node.getText(k);
                if (type == eNodeClear && std::strcmp(node.getClear(k)->openTag, "<![CDATA[") == 0)
                    text += node.getClear(k)->value;
            }
            if (!text.empty()) {
                out += " text=\"";
                AppendEscaped(out, text);
                out += '"';
            }
        }
        out += '\n';
        const int childDepth = node.isDeclaration() ? depth : depth + 1;
        for (int i = node.nChildNode() - 1; i >= 0; --i)
            work.emplace_back(node.getChildNode(i), childDepth);
    }
    return out;
}
