// The XML reader against libxml2, and the engine's XML model format read through it.
#include "models/xmlParser.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <codecvt>
#include <locale>

#include "model_fixtures.h"
#include "models/CTObject.h"
#include "render3d/C3DGameObject.h"

using namespace model_test;

namespace {

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
    const std::u16string u =
        std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t>().from_bytes(utf8);
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(u.data()), u.size() * 2);
}

// Every construct the reader knows, in UTF-8 and UTF-16.
TEST(XmlReader, DocumentsMatchLibxml2) {
    XMLNode::setGlobalOptions(true, true);
    const std::string docs[] = {
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- lead -->\n<!DOCTYPE root>\n"
        "<Root a1=\"plain &amp;&lt;&gt;&quot;&apos;\"\n  b.c-d_9 = 'x=1 &#65;&#x263A;&#x1F600; "
        "\xC3\xA9"
        "\xE6\xBC\xA2\xF0\x9F\x98\x80 > \"'><e/><F />text &#10; more<![CDATA[a<b>&c]]><?proc1?>"
        "<!-- note --><g h='&#10;'>&#x263A; &gt;</g ><i><j> </j><![CDATA[ ]]>x &#10;</i></Root >"
        "\n<!-- tail -->\n",
        "<a b=\"'\" c='\"'>&apos;x&quot;<k><l><m><n><o><p><q><r/></q></p></o></n></m></l></k></a>",
        "<z><y/>\xF0\x9F\x98\x80 &#10;</z>"};
    for (size_t i = 0; i < 2 * std::size(docs); ++i) {
        std::string doc = docs[i / 2];
        if (i % 2)
            doc = Utf16LE(doc.rfind("\xEF\xBB\xBF", 0) == 0 ? doc.substr(3) : doc); // and as UTF-16
        xmlDoc* ref = xmlReadMemory(doc.data(), int(doc.size()), "doc.xml", nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        ASSERT_NE(ref, nullptr) << doc;
        xmlNode* root = xmlDocGetRootElement(ref);
        std::string expected;
        LibxmlOutline(root, 0, expected);
        XMLResults results;
        XMLNode node = XMLNode::parseMemory(Bytes(doc), doc.size(),
                                            reinterpret_cast<const char*>(root->name), &results);
        xmlFreeDoc(ref);
        ASSERT_EQ(results.error, eXMLErrorNone) << results.nLine << ":" << results.nColumn;
        EXPECT_EQ(XMLOutline(node, true), expected) << doc;
    }
}

TEST(XmlReader, ErrorCodesLinesAndColumns) {
    const std::tuple<const char*, const char*, XMLError, int, int> cases[] = {
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
        {"<a>\xC3\xA9\xE6\xBC\xA2&x;</a>", nullptr, eXMLErrorUnknownCharacterEntity, 1, 6},
        {"<a><b></a>", nullptr, eXMLWarningUnmatchedEndTag, 1, 7}};
    XMLNode::setGlobalOptions(true, true);
    for (const auto& [text, tag, error, line, column] : cases) {
        XMLResults r;
        const bool empty = XMLNode::parseString(text, tag, &r).isEmpty();
        EXPECT_EQ(Ints({r.error, r.nLine, r.nColumn, empty}),
                  Ints({error, line, column, error != eXMLWarningUnmatchedEndTag}))
            << text;
    }
    XMLNode::setGlobalOptions(true, false);
    XMLResults r;
    XMLNode::parseString("<a>\xC3\xA9&x;</a>", nullptr, &r);
    XMLNode::setGlobalOptions(true, true);
    EXPECT_EQ(r.nColumn, 6);
    EXPECT_STREQ(XMLNode::getError(XMLError(22)), "Unknown");
}

TEST(XmlReader, DeclarationHoldsTheWantedElementAndLookupsIgnoreCase) {
    const char* doc = "<?xml version=\"1.0\"?>\n<Root><Material name='m0'/><x/><material NAME='m1' "
                      "name='second'/></Root>";
    XMLNode declaration = XMLNode::parseString(doc), root = XMLNode::parseString(doc, "rOOt");
    int i = 0, a = 1;
    const std::string first = root.getChildNode("MATERIAL", &i).getAttribute("name");
    XMLNode second = root.getChildNode("material", &i);
    EXPECT_EQ(Join(declaration.isDeclaration(), declaration.getAttribute("Version"), root.getName(),
                   first, i, second.getAttribute("name", &a),
                   root.getChildNode("material", 1).getAttribute("name"),
                   root.nChildNode("MATERIAL")),
              "1 1.0 Root m0 3 second m1 2");
    EXPECT_TRUE(root.getChildNode("material", &i).isEmpty() && !second.getAttribute("name", &a));
    root = declaration = XMLNode(); // handles outlive the document
    EXPECT_STREQ(second.getAttribute("name", 1), "second");
    EXPECT_TRUE(second.getParentNode().isEmpty());
}

TEST(XmlReader, DeepNestingNeitherOverflowsNorLeaks) {
    const int depth = 200000;
    std::string doc;
    for (int i = 0; i < 2 * depth; ++i)
        doc += i < depth ? "<d>" : "</d>";
    XMLResults r;
    XMLNode node = XMLNode::parseString(doc.c_str(), nullptr, &r);
    ASSERT_EQ(r.error, eXMLErrorNone);
    int levels = 0;
    for (XMLNode n = node; !n.isEmpty(); n = n.getChildNode(0))
        ++levels;
    EXPECT_EQ(levels, depth);
}

TEST(XmlReader, FilesAndEncodings) {
    XMLResults r;
    EXPECT_STREQ(XMLNode::parseFile(TempFile("warn.xml", "<a><b></a>").c_str(), "a", &r).getName(),
                 "a");
    EXPECT_EQ(r.error, eXMLWarningUnmatchedEndTag);
    EXPECT_TRUE(XMLNode::parseFile("/nonexistent/model.xml", nullptr, &r).isEmpty() &&
                r.error == eXMLErrorFileNotFound);
    std::string message;
    const std::string empty = TempFile("empty.xml", "");
    EXPECT_TRUE(XMLNode::openFileChecked(empty.c_str(), "a", &message, &r).isEmpty());
    EXPECT_EQ(message, "XML Parsing error inside file '" + empty +
                           "'.\nError: No XML data\nAt line 0, column 0.\n");
    XMLNode::openFileChecked(TempFile("a.xml", "<a/>").c_str(), "b", &message);
    EXPECT_NE(message.find("Error: First Tag not found\nAt line 1, column 1.\n"
                           "First Tag should be 'b'.\n"),
              std::string::npos);

    const std::string le("<\0a\0 \0x\0=\0'\0\xE9\0'\0/\0>\0", 20);
    const std::string be("\xFE\xFF\0<\0a\0 \0x\0=\0'\0\xE9\0'\0/\0>", 22);
    for (const std::string& doc : {le, be, std::string("\xFF\xFE") + le}) {
        XMLNode n = XMLNode::parseMemory(Bytes(doc), doc.size(), "a", &r);
        ASSERT_EQ(r.error, eXMLErrorNone);
        EXPECT_STREQ(n.getAttribute("x"), "\xC3\xA9");
    }
    // A zero byte ends the text (fuzzing).
    EXPECT_STREQ(XMLNode::parseText("<a/>\0<b c", 10, nullptr, &r).getName(), "a");
    EXPECT_TRUE(XMLNode::parseText("<a b='1'\0c='2'/>", 16, nullptr, &r).isEmpty());
    const std::string lone("\xFF\xFE<\0\x00\xD8>\0", 8);
    XMLNode::parseMemory(Bytes(lone), lone.size(), "a", &r);
    EXPECT_EQ(r.error, eXMLErrorCharConversionError);

    EXPECT_TRUE(XMLNode::guessUTF8ParsingParameterValue("<a>\xC3\xA9</a>", 9));
    EXPECT_FALSE(XMLNode::guessUTF8ParsingParameterValue("<a>\xE9t</a>", 9));
    const char* latin = "<?xml version='1.0' encoding='ISO-8859-1'?><a/>";
    EXPECT_FALSE(XMLNode::guessUTF8ParsingParameterValue(latin, std::strlen(latin)));
}

std::vector<std::string> g_Textures;

int RecordTexture(const std::string& file) {
    g_Textures.push_back(file);
    return -1;
}

struct Loaded {
    bool ok;
    T3DModel model;
    std::string out;
};

Loaded Load(const std::string& xml) {
    g_Textures.clear();
    CTObjectLoader loader;
    loader.SetTextureLoader(RecordTexture);
    Loaded r;
    r.out = Quiet(
        [&] { r.ok = loader.LoadModelFromMemory(Bytes(xml), xml.size(), "test.xml", r.model); });
    return r;
}

const std::string kMaterial = "<material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
                              "<diffuse r='1' g='0.5' b='0.25' a='1'/>"
                              "<specular r='0' g='0' b='0' a='1'/>";
const std::string kFourVertices = "<vertex x='0' y='0' z='0' u0='0' v0='0'/>"
                                  "<vertex x='1' y='0' z='0' u0='1' v0='0'/>"
                                  "<vertex x='1' y='1' z='0' v0='1' r='0.5'/>"
                                  "<vertex x='0' y='1' z='0' u0='0' v0='1'/>";

std::string Object(int numVertices, int numFaces, const std::string& content) {
    return "<object name='o' numvertices='" + std::to_string(numVertices) + "' numfaces='" +
           std::to_string(numFaces) + "'><position x='1' y='2' z='3'/>" +
           "<orientation angle='90' x='0' y='1' z='0'/>" + content + "</object>";
}

// A unit floor quad facing up and a triangle beside it, diffuse (1, 0.5, 0.25).
const std::string kFloor = XmlModel(
    "110", kMaterial +
               "</material><object name='o' numvertices='7' numfaces='2'>"
               "<vertex x='-1' y='0' z='-1'/><vertex x='-1' y='0' z='1'/>"
               "<vertex x='1' y='0' z='1'/><vertex x='1' y='0' z='-1'/>"
               "<vertex x='3' y='0' z='-1'/><vertex x='3' y='0' z='1'/>"
               "<vertex x='5' y='0' z='1'/><face a='0' b='1' c='2' d='3' materialindex='0'/>"
               "<face a='4' b='5' c='6' materialindex='0'/></object>");

} // namespace

TEST(CTObjectLoader, FatalAttributesStopLoadingAndLeaveTheModelEmpty) {
    const std::pair<std::string, std::string> cases[] = {
        {XmlModel("000", "", ""), "Model Name not found in the xml!"},
        {"<ZarvoModelFormat><model name='t' nummaterials='0' "
         "numofparallaxmap='0'/></ZarvoModelFormat>",
         "numsubobjects tag not found"},
        {XmlModel("020", "<material name='m'/><material name='n' opacity='1'><texture "
                         "colormap='late.png'/></material>"),
         "opacity attribute not found in material tag! Not a valid Zarvo Engine Model file!"},
        {XmlModel("010", "<material name='m' opacity='1'><ambient r='0' g='0' b='0' "
                         "a='1'/><diffuse r='1' g='1' a='1'/></material>"),
         "\ngb attribute not found in the diffuse tag! Not a valid Zarvo Engine Model file!\n"},
        {XmlModel("010", kMaterial + "<texture/></material>"), "colormap attribute not found"},
        {XmlModel("001", "<parallaxmap><texture/></parallaxmap>"),
         "heightmap attribute not found in the texture tag!"}};
    for (const auto& [xml, message] : cases) {
        Loaded r = Load(xml);
        EXPECT_TRUE(!r.ok && r.out.find(message) != std::string::npos) << r.out;
        EXPECT_TRUE(r.model.objects.empty() && r.model.materials.empty() &&
                    r.model.totalVertices == 0 && g_Textures.empty());
    }
    for (const char* xml : {"", "<ZarvoModelFormat><model></ZarvoModelFormat>", "<other/>",
                            "<ZarvoModelFormat><model name='&bad;'/></ZarvoModelFormat>"}) {
        const Loaded r = Load(xml);
        EXPECT_TRUE(!r.ok &&
                    r.out.find("XML Parsing error inside file 'test.xml'.") != std::string::npos)
            << xml;
    }
}

TEST(CTObjectLoader, IndicesAndCountsFromTheFileAreChecked) {
    const std::string head = kMaterial + "</material><parallaxmap/>";
    const std::tuple<int, int, std::string, bool, const char*> cases[] = {
        {4, 1, "<face a='0' b='1' c='4'/>", false, "outside the object's 4 vertices"},
        {4, 1, "<face a='-1' b='1' c='2'/>", false, "outside the object's 4 vertices"},
        {4, 1, "<face a='0' b='1' c='2' d='9'/>", false, "outside the object's 4 vertices"},
        {4, 1, "<face a='0' b='1' c='2'/>", true, "WARNING: No colormap information found."},
        {4, 1, "<face a='0' b='1' c='2' materialindex='1'/>", false, "refers to material 1 of 1"},
        {4, 1, "<face a='0' b='1' c='2' parallaxmapindex='7'/>", false,
         "refers to parallax map 7 of 1"},
        {2000000000, 99999999, "<face a='0' b='1' c='3'/>", true,
         "numvertices is 2000000000 but only 4 vertex tags are present; reading 4."},
        {-5, 1, "<face a='0' b='1' c='2'/>", false, "outside the object's 0 vertices"},
        {4, 1, "", true, "numfaces is 1 but only 0 face tags"}};
    for (const auto& [numVertices, numFaces, faces, ok, message] : cases) {
        Loaded r =
            Load(XmlModel("111", head + Object(numVertices, numFaces, kFourVertices + faces)));
        EXPECT_EQ(r.ok, ok) << faces << "\n" << r.out;
        EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
        EXPECT_TRUE(ok || r.model.objects.empty()) << faces;
    }
    Loaded many = Load("<ZarvoModelFormat><model name='t' numsubobjects='4000000000' "
                       "nummaterials='99999999999999999999' numofparallaxmap='-3'>" +
                       head + "</model></ZarvoModelFormat>");
    EXPECT_EQ(Ints({many.ok, int(many.model.objects.size()), int(many.model.materials.size()),
                    int(many.model.parallaxMaps.size())}),
              Ints({1, 0, 1, 0}));
}

TEST(CTObject, RayHitsColourFacesAndAFailedLoadLeavesAnEmptyWorkingObject) {
    CTObject floor;
    ASSERT_TRUE(LoadXml(floor, kFloor, RecordTexture));
    EXPECT_EQ(floor.GetModelVertexNum(), 7);
    // The quad's first triangle: diffuse times the light (straight above).
    CRay lit = Shot(floor, {-0.5f, 10, 0.5f}, {0, -1, 0});
    ASSERT_TRUE(lit.isHit());
    EXPECT_TRUE(lit.GetColorR() > 0.99f && std::fabs(lit.GetColorG() - 0.5f) < 0.01f);
    EXPECT_FLOAT_EQ(lit.GetDistance(), 10.0f);
    // Plain diffuse on the others; nothing behind the origin is hit.
    for (const auto& [x, z, dy] :
         {std::make_tuple(0.5f, -0.5f, -1), {3.5f, 0.5f, -1}, {0.5f, -0.5f, 1}}) {
        CRay ray = Shot(floor, {x, 10, z}, {0, float(dy), 0});
        EXPECT_EQ(ray.isHit(), dy < 0) << x;
        EXPECT_TRUE(dy > 0 || std::fabs(ray.GetColorB() - 0.25f) < 1e-6f) << ray.GetColorB();
    }
    CTObject broken;
    std::string bad = kFloor;
    bad.replace(bad.find("c='6'"), 5, "c='60'");
    EXPECT_FALSE(LoadXml(broken, bad, RecordTexture));
    EXPECT_TRUE(!broken.IsLoaded() && broken.GetModelVertexNum() == 0);
    EXPECT_EQ(broken.GetTransformedModelLevelBBMaxPoint()->x, 0.0f);
    // No GL context: an empty model must not reach GL.
    broken.Draw(true);
    broken.DrawParallax(true);
    broken.DrawBoundingBox();
    broken.BuildShadowVolume(CVector3(0, 10, 0));
    broken.RenderToStencilV();
    EXPECT_FALSE(Shot(broken, {0, 10, 0}, {0, -1, 0}).isHit());
    C3DGameObject object;
    char missing[] = "/nonexistent/model.xml";
    EXPECT_NE(Quiet([&] { object.LoadZarvoModel(missing); }).find("Error: File not found"),
              std::string::npos);
    ASSERT_TRUE(object.GetModelKind() == MODEL_KIND_ZARVO && object.GetModel());
    object.SetPosition(5, 5, 5);
    EXPECT_TRUE(object.GetObjectVertexNum() == 0 && !Shot(object, {0, 10, 0}, {0, -1, 0}).isHit());
}
