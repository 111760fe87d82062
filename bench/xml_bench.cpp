// Parse throughput of the engine's XML reader on a generated 10 MB model document, with
// libxml2 (xmlReadMemory) and pugixml (load_buffer) on the same bytes in the same run, and
// the time from those bytes to a model ready to draw.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "models/CTObjectLoader.h"
#include "models/xmlParser.h"

namespace {

// A terrain-like grid in the engine's model format, grown until it reaches `bytes`.
const std::string& ModelDocument(size_t bytes = 10u << 20) {
    static std::string doc;
    if (!doc.empty()) return doc;
    // Each grid cell costs about 330 bytes (a vertex and a face tag).
    int grid = 8;
    while (size_t(grid) * size_t(grid) * 330 < bytes)
        ++grid;
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZarvoModelFormat>\n"
        << "  <model name=\"bench\" numsubobjects=\"1\" nummaterials=\"1\" "
           "numofparallaxmap=\"1\">\n"
        << "    <material name=\"m\" opacity=\"1.0\"><ambient r=\"0.4\" g=\"0.4\" b=\"0.4\" "
           "a=\"1.0\"/><diffuse r=\"0.8\" g=\"0.8\" b=\"0.8\" a=\"1.0\"/><specular r=\"0\" "
           "g=\"0\" b=\"0\" a=\"1\"/><texture colormap=\"c.png\"/></material>\n"
        << "    <parallaxmap><texture heightmap=\"h.png\"/></parallaxmap>\n"
        << "    <object name=\"grid\" numvertices=\"" << (grid + 1) * (grid + 1) << "\" numfaces=\""
        << grid * grid << "\">\n"
        << "      <position x=\"0\" y=\"0\" z=\"0\"/><orientation angle=\"0\" x=\"0\" y=\"1\" "
           "z=\"0\"/>\n";
    for (int j = 0; j <= grid; ++j)
        for (int i = 0; i <= grid; ++i)
            xml << "      <vertex x=\"" << i * 2.5f << "\" y=\"" << ((i * 7 + j * 3) % 11) * 0.25f
                << "\" z=\"" << j * 2.5f << "\" u0=\"" << float(i) / grid << "\" v0=\""
                << float(j) / grid << "\" u1=\"0\" v1=\"0\" u2=\"0\" v2=\"0\" u3=\"0\" v3=\"0\" "
                << "r=\"1\" g=\"1\" b=\"1\" a=\"1\"/>\n";
    for (int j = 0; j < grid; ++j)
        for (int i = 0; i < grid; ++i) {
            const int a = j * (grid + 1) + i;
            xml << "      <face a=\"" << a << "\" b=\"" << a + grid + 1 << "\" c=\"" << a + grid + 2
                << "\" d=\"" << a + 1 << "\" materialindex=\"0\" parallaxmapindex=\"0\"/>\n";
        }
    xml << "    </object>\n  </model>\n</ZarvoModelFormat>\n";
    doc = xml.str();
    return doc;
}

void BM_ZarvoXmlParse(benchmark::State& state) {
    const std::string& doc = ModelDocument();
    for (auto _ : state) {
        XMLResults results;
        XMLNode root = XMLNode::parseText(doc.data(), doc.size(), "ZarvoModelFormat", &results);
        if (root.isEmpty()) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root.nChildNode());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.size()));
}
BENCHMARK(BM_ZarvoXmlParse)->Unit(benchmark::kMillisecond);

void BM_Libxml2ReadMemory(benchmark::State& state) {
    const std::string& doc = ModelDocument();
    for (auto _ : state) {
        xmlDoc* d =
            xmlReadMemory(doc.data(), int(doc.size()), "bench.xml", nullptr, XML_PARSE_NONET);
        if (d == nullptr) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(d);
        xmlFreeDoc(d);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.size()));
}
BENCHMARK(BM_Libxml2ReadMemory)->Unit(benchmark::kMillisecond);

void BM_PugixmlLoadBuffer(benchmark::State& state) {
    const std::string& doc = ModelDocument();
    for (auto _ : state) {
        pugi::xml_document d;
        if (!d.load_buffer(doc.data(), doc.size())) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(d.first_child());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.size()));
}
BENCHMARK(BM_PugixmlLoadBuffer)->Unit(benchmark::kMillisecond);

int NoTexture(const std::string&) {
    return -1;
}

// Bytes to a model ready to draw: parse, read, face normals, boxes and tangent frames.
void BM_ZarvoModelLoad(benchmark::State& state) {
    const std::string& doc = ModelDocument();
    CTObjectLoader loader;
    loader.SetTextureLoader(NoTexture);
    for (auto _ : state) {
        T3DModel model;
        const bool ok = loader.LoadModelFromMemory(reinterpret_cast<const uint8_t*>(doc.data()),
                                                   doc.size(), "bench.xml", model);
        if (!ok) state.SkipWithError("load failed");
        loader.CalculateTangentSpaceVectors(&model);
        benchmark::DoNotOptimize(model.totalVertices);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(doc.size()));
}
BENCHMARK(BM_ZarvoModelLoad)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
