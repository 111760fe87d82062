#include "models/xmlParser.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <iconv.h>

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "model_fixtures.h"

namespace {

struct DocGen {
    std::mt19937 rng;
    explicit DocGen(unsigned seed) : rng(seed) {}
    int Pick(int n) { return int(rng() % unsigned(n)); }

    std::string Name() {
        static const char first[] = "abcdefghijklmnopqrstuvwyzABCDEFGHIJKLMNOPQRSTUVWYZ_";
        static const char rest[] = "abcdefghijklmnopqrstuvwxyz0123456789_.-";
        std::string n(1, first[Pick(sizeof(first) - 1)]);
        for (int i = Pick(8); i > 0; --i)
            n += rest[Pick(sizeof(rest) - 1)];
        // <PRE> and <Script> open clear sections, not elements.
        if (strcasecmp(n.c_str(), "pre") == 0 || strcasecmp(n.c_str(), "script") == 0) n += "_";
        return n;
    }
    // Text with entities, numeric references and multi-byte characters; `quote` is the
    // delimiter of an attribute value (0 for element text).
    std::string Text(char quote) {
        static const char* const pieces[] = {
            "plain",     " ", "&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&#65;", "&#x263A;",
            "&#x1F600;", "é", "漢字",  "😀",    ">",    "x=1",    "&#10;",  "'",     "\""};
        std::string t;
        bool solid = false;
        for (int i = Pick(6); i > 0; --i) {
            const char* p = pieces[Pick(sizeof(pieces) / sizeof(pieces[0]))];
            if (quote && p[0] == quote && p[1] == 0) continue;
            t += p;
            // Text that decodes to white space only is not content (both readers drop it).
            if (!quote && std::strcmp(p, " ") != 0 && std::strcmp(p, "&#10;") != 0) solid = true;
        }
        if (!quote && !t.empty() && !solid) t += "z";
        return t;
    }
    void Element(std::string& out, int depth) {
        const std::string name = Name();
        out += "<" + name;
        std::vector<std::string> used;
        for (int i = Pick(4); i > 0; --i) {
            std::string a = Name();
            if (std::find(used.begin(), used.end(), a) != used.end()) continue;
            used.push_back(a);
            const char q = Pick(2) ? '"' : '\'';
            out += (Pick(3) ? " " : "\n  ") + a + (Pick(4) ? "=" : " = ") + q + Text(q) + q;
        }
        if (depth > 6 || Pick(4) == 0) {
            out += Pick(2) ? "/>" : " />";
            return;
        }
        out += ">";
        for (int i = Pick(5); i > 0; --i) {
            const int kind = Pick(7);
            if (kind > 3)
                Element(out, depth + 1);
            else
                out += kind == 0   ? std::string("<!-- note -->")
                       : kind == 1 ? "<![CDATA[" + std::string(Pick(2) ? "a<b>&c" : " ") + "]]>"
                       : kind == 2 ? "<?proc" + std::to_string(Pick(9)) + "?>"
                                   : Text(0);
        }
        out += "</" + name + (Pick(4) ? ">" : " >");
    }
    std::string Document() {
        std::string doc;
        if (Pick(3) == 0) doc += "\xEF\xBB\xBF";
        if (Pick(2)) doc += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        if (Pick(4) == 0) doc += "<!-- lead -->\n";
        if (Pick(4) == 0) doc += "<!DOCTYPE root>\n";
        Element(doc, 0);
        if (Pick(2)) doc += "\n<!-- tail -->\n";
        return doc;
    }
};

std::string Escaped(const char* s) {
    std::string out;
    for (; *s; ++s) {
        const size_t k = std::string("\n\r\t\"\\").find(*s);
        out += k == std::string::npos ? std::string(1, *s) : std::string("\\") + "nrt\"\\"[k];
    }
    return out;
}

// The same outline XMLOutline(node, true) gives, from libxml2's tree.
void LibxmlOutline(xmlNode* node, int depth, std::string& out) {
    out.append(size_t(depth) * 2, ' ');
    if (node->type == XML_PI_NODE) {
        out += "?" + std::string(reinterpret_cast<const char*>(node->name)) + "\n";
        return;
    }
    out += reinterpret_cast<const char*>(node->name);
    for (xmlAttr* a = node->properties; a; a = a->next) {
        xmlChar* v = xmlNodeGetContent(reinterpret_cast<xmlNode*>(a));
        out += " " + std::string(reinterpret_cast<const char*>(a->name)) + "=\"" +
               Escaped(reinterpret_cast<const char*>(v)) + "\"";
        xmlFree(v);
    }
    std::string text;
    for (xmlNode* c = node->children; c; c = c->next) {
        const char* content = reinterpret_cast<const char*>(c->content);
        const bool space = content && std::strspn(content, " \t\r\n") == std::strlen(content);
        if (c->type == XML_CDATA_SECTION_NODE || (c->type == XML_TEXT_NODE && !space))
            text += content;
    }
    if (!text.empty()) out += " text=\"" + Escaped(text.c_str()) + "\"";
    out += "\n";
    for (xmlNode* c = node->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE || c->type == XML_PI_NODE) LibxmlOutline(c, depth + 1, out);
}

std::string Utf16LE(const std::string& utf8) {
    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    std::string out(utf8.size() * 4 + 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = &out[2];
    size_t inLeft = utf8.size(), outLeft = out.size() - 2;
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out.replace(0, 2, "\xFF\xFE");
}

TEST(XmlReader, GeneratedDocumentsMatchLibxml2) {
    XMLNode::setGlobalOptions(true, true);
    for (unsigned seed = 1; seed <= 400; ++seed) {
        DocGen gen(seed);
        std::string doc = gen.Document();
        // Every tenth document travels as UTF-16 with a byte-order mark.
        if (seed % 10 == 0) doc = Utf16LE(doc.rfind("\xEF\xBB\xBF", 0) == 0 ? doc.substr(3) : doc);
        xmlDoc* ref = xmlReadMemory(doc.data(), int(doc.size()), "gen.xml", nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        ASSERT_NE(ref, nullptr) << "generator made a bad document, seed " << seed << "\n" << doc;
        xmlNode* root = xmlDocGetRootElement(ref);
        std::string expected;
        LibxmlOutline(root, 0, expected);
        const std::string rootName = reinterpret_cast<const char*>(root->name);
        xmlFreeDoc(ref);

        XMLResults results;
        XMLNode node =
            XMLNode::parseMemory(model_test::Bytes(doc), doc.size(), rootName.c_str(), &results);
        ASSERT_EQ(results.error, eXMLErrorNone)
            << "seed " << seed << " line " << results.nLine << " column " << results.nColumn << "\n"
            << doc;
        EXPECT_EQ(XMLOutline(node, true), expected) << "seed " << seed << "\n" << doc;
    }
}

TEST(XmlReader, ErrorCodesLinesAndColumns) {
    struct Case {
        const char* text;
        const char* tag;
        XMLError error;
        int line, column;
    } const cases[] = {
        {"", nullptr, eXMLErrorEmpty, 1, 1},
        {"text<a/>", nullptr, eXMLErrorFirstNotStartTag, 1, 1},
        {"<a>< b/></a>", nullptr, eXMLErrorMissingTagName, 1, 4},
        {"<a></ ></a>", nullptr, eXMLErrorMissingEndTagName, 1, 4},
        {"<a b=\"1></a>", nullptr, eXMLErrorUnmatchedQuote, 1, 6},
        {"<a>\n  <b>\n</c>", nullptr, eXMLErrorUnmatchedEndTag, 3, 1},
        {"<a><!-- open", nullptr, eXMLErrorUnmatchedEndClearTag, 1, 4},
        {"<a b=>x</a>", nullptr, eXMLErrorUnexpectedToken, 1, 6},
        {"<a/b>", nullptr, eXMLErrorUnexpectedToken, 1, 3},
        {"<a b='1'", nullptr, eXMLErrorInvalidTag, 1, 1},
        {"<!-- only a comment -->", nullptr, eXMLErrorNoElements, 1, 24},
        {"<a/>", "b", eXMLErrorFirstTagNotFound, 1, 1},
        {"<a>&foo;</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 4},
        {"<a>&amp</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 4},
        {"<a x='&#0;'/>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 7},
        {"<a>&#xD800;</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 4},
        {"<a>&#99999999999999999999;</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 4},
        {"<a>&#x;</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 4},
        // A multi-byte character counts as one column.
        {"<a>\xC3\xA9\xE6\xBC\xA2&x;</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 6},
        // An end tag closing an outer element is only a warning, at the end tag.
        {"<a><b></a>", nullptr, eXMLWarningUnmatchedEndTag, 1, 7}};
    XMLNode::setGlobalOptions(true, true);
    for (const Case& c : cases) {
        XMLResults r;
        const bool empty = XMLNode::parseString(c.text, c.tag, &r).isEmpty();
        EXPECT_EQ(
            model_test::Ints({r.error, r.nLine, r.nColumn, empty}),
            model_test::Ints({c.error, c.line, c.column, c.error != eXMLWarningUnmatchedEndTag}))
            << c.text;
    }
    // Byte by byte the same character is two columns.
    XMLNode::setGlobalOptions(true, false);
    XMLResults r;
    XMLNode::parseString("<a>\xC3\xA9&x;</a>", nullptr, &r);
    EXPECT_EQ(r.nColumn, 6);
    XMLNode::setGlobalOptions(true, true);
    EXPECT_STREQ(XMLNode::getError(XMLError(15)),
                 "Error: unable to convert between UNICODE and MultiByte chars");
    EXPECT_STREQ(XMLNode::getError(XMLError(22)), "Unknown");
}

TEST(XmlReader, DeclarationHoldsTheWantedElementAndLookupsIgnoreCase) {
    const char* doc = "<?xml version=\"1.0\"?>\n<Root><Material name='m0'/><x/>"
                      "<material NAME='m1' name='second'/></Root>";
    XMLResults r;
    XMLNode declaration = XMLNode::parseString(doc, nullptr, &r);
    ASSERT_EQ(r.error, eXMLErrorNone);
    EXPECT_TRUE(declaration.isDeclaration());
    EXPECT_STREQ(declaration.getAttribute("Version"), "1.0");
    XMLNode root = XMLNode::parseString(doc, "rOOt", &r);
    ASSERT_FALSE(root.isEmpty());
    EXPECT_STREQ(root.getName(), "Root");

    int i = 0, afterFirst = 0;
    EXPECT_STREQ(root.getChildNode("MATERIAL", &i).getAttribute("name"), "m0");
    afterFirst = i;
    XMLNode second = root.getChildNode("material", &i);
    EXPECT_EQ(model_test::Ints({afterFirst, i}), model_test::Ints({1, 3}));
    EXPECT_TRUE(root.getChildNode("material", &i).isEmpty());
    EXPECT_STREQ(root.getChildNode("material", 1).getAttribute("name"), "m1");
    int a = 1;
    EXPECT_STREQ(second.getAttribute("name", &a), "second");
    EXPECT_EQ(second.getAttribute("name", &a), nullptr);
    EXPECT_EQ(root.nChildNode("MATERIAL"), 2);
    // A handle keeps its data alive after the document is gone.
    XMLNode kept = second;
    root = XMLNode();
    declaration = XMLNode();
    EXPECT_STREQ(kept.getAttribute("name", 1), "second");
    EXPECT_TRUE(kept.getParentNode().isEmpty());
}

TEST(XmlReader, DeepNestingNeitherOverflowsNorLeaks) {
    const int depth = 200000;
    std::string open, close;
    for (int i = 0; i < depth; ++i)
        open += "<d>", close += "</d>";
    XMLResults r;
    XMLNode node = XMLNode::parseString((open + close).c_str(), nullptr, &r);
    ASSERT_EQ(r.error, eXMLErrorNone);
    int levels = 0;
    for (XMLNode n = node; !n.isEmpty(); n = n.getChildNode(0))
        ++levels;
    EXPECT_EQ(levels, depth);
}

TEST(XmlReader, FilesAndEncodings) {
    XMLResults r;
    EXPECT_TRUE(XMLNode::parseFile("/nonexistent/model.xml", nullptr, &r).isEmpty());
    EXPECT_EQ(r.error, eXMLErrorFileNotFound);

    std::string message;
    const std::string empty = model_test::TempFile("empty.xml", "");
    EXPECT_TRUE(XMLNode::openFileChecked(empty.c_str(), "a", &message, &r).isEmpty());
    EXPECT_EQ(message, "XML Parsing error inside file '" + empty +
                           "'.\nError: No XML data\nAt line 0, column 0.\n");
    XMLNode::openFileChecked(model_test::TempFile("a.xml", "<a/>").c_str(), "b", &message);
    EXPECT_NE(message.find("Error: First Tag not found\nAt line 1, column 1.\n"
                           "First Tag should be 'b'.\n"),
              std::string::npos);

    // UTF-16 in both byte orders, with and without a byte-order mark.
    const std::string le("<\0a\0 \0x\0=\0'\0\xE9\0'\0/\0>\0", 20);
    std::string be = "\xFE\xFF";
    for (size_t i = 0; i < le.size(); i += 2)
        be += le[i + 1], be += le[i];
    for (const std::string& doc : {le, be, std::string("\xFF\xFE") + le}) {
        XMLNode n = XMLNode::parseMemory(model_test::Bytes(doc), doc.size(), "a", &r);
        ASSERT_EQ(r.error, eXMLErrorNone);
        EXPECT_STREQ(n.getAttribute("x"), "\xC3\xA9");
    }
    // A zero byte ends the text (found by fuzzing: names cut at a zero byte).
    EXPECT_STREQ(XMLNode::parseText("<a/>\0<b c", 10, nullptr, &r).getName(), "a");
    EXPECT_EQ(XMLNode::parseText("<a b='1'\0c='2'/>", 16, nullptr, &r).isEmpty(), true);
    const std::string lone("\xFF\xFE<\0\x00\xD8>\0", 8);
    XMLNode::parseMemory(model_test::Bytes(lone), lone.size(), "a", &r);
    EXPECT_EQ(r.error, eXMLErrorCharConversionError);

    EXPECT_TRUE(XMLNode::guessUTF8ParsingParameterValue("<a>\xC3\xA9</a>", 9));
    EXPECT_FALSE(XMLNode::guessUTF8ParsingParameterValue("<a>\xE9t</a>", 9));
    const char* latin = "<?xml version='1.0' encoding='ISO-8859-1'?><a/>";
    EXPECT_FALSE(XMLNode::guessUTF8ParsingParameterValue(latin, std::strlen(latin)));
}

TEST(XmlReaderDeathTest, OpenFileHelperEndsTheProgramOnAWarning) {
    const std::string path = model_test::TempFile("warn.xml", "<a><b></a>");
    XMLResults r;
    EXPECT_FALSE(XMLNode::parseFile(path.c_str(), "a", &r).isEmpty());
    EXPECT_EQ(r.error, eXMLWarningUnmatchedEndTag);
    EXPECT_EXIT(XMLNode::openFileHelper(path.c_str(), "a"), testing::ExitedWithCode(255),
                "Warning: Unmatched end tag\nAt line 1, column 7");
    EXPECT_EXIT(XMLNode::openFileHelper("/nonexistent.xml", "a"), testing::ExitedWithCode(255),
                "Error: File not found");
}

} // namespace
