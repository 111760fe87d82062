// The engine's own XML model: a stone floor of quads with a colour map and a
// height map for parallax mapping.
#include "tools/assetgen/content.h"
#include "tools/assetgen/encoders.h"

#include <cmath>
#include <sstream>

namespace assetgen {

namespace {

// Cobblestones: the height map is the rounded stone profile, the colour map its stones.
void PaintCobbles(Canvas& colour, Canvas& height) {
    const int size = colour.Width(), cells = 6;
    Noise n(404);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = static_cast<float>(x) * cells / size,
                  fy = static_cast<float>(y) * cells / size;
            // Nearest and second-nearest jittered cell centres (tileable Voronoi).
            float best = 9, second = 9;
            int bestId = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int cx = static_cast<int>(std::floor(fx)) + dx,
                        cy = static_cast<int>(std::floor(fy)) + dy;
                    int wx = (cx % cells + cells) % cells, wy = (cy % cells + cells) % cells;
                    float px = cx + 0.2f + 0.6f * n.Hash(wx, wy),
                          py = cy + 0.2f + 0.6f * n.Hash(wx + 17, wy + 31);
                    float d = std::hypot(fx - px, fy - py);
                    if (d < best)
                        second = best, best = d, bestId = wy * cells + wx;
                    else if (d < second)
                        second = d;
                }
            float edge = second - best; // 0 on the joint between two stones
            float dome = SmoothStep(0.0f, 0.35f, edge);
            float rough = n.Fbm(fx * 6, fy * 6, cells * 6, 4);
            float h = Clamp01(0.1f + 0.8f * dome * (0.85f + 0.15f * rough));
            height.At(x, y) = Color{h, h, h, 1};
            float tint = n.Hash(bestId, 5);
            Color stone = Mix(Rgb(118, 112, 104), Rgb(164, 150, 128), tint);
            stone = Scale(stone, 0.8f + 0.3f * rough);
            Color mortar =
                Scale(Rgb(72, 66, 56), 0.8f + 0.4f * n.Value(fx * 40, fy * 40, cells * 40));
            colour.At(x, y) =
                Mix(mortar, Scale(stone, 0.75f + 0.3f * dome), SmoothStep(0.02f, 0.08f, edge));
        }
}

} // namespace

void WriteXmlModel(const std::string& root) {
    Canvas colour(256, 256), height(256, 256);
    PaintCobbles(colour, height);
    WriteFile(root, "Data/TModel/cobbles_color.png", EncodePng(colour));
    WriteFile(root, "Data/TModel/cobbles_height.png", EncodePng(height));

    const int grid = 8;         // quads per side
    const float half = 160.0f;  // world units from the centre to an edge
    const float repeats = 8.0f; // texture repeats across the floor
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml << "<ZarvoModelFormat>\n";
    xml << "  <model name=\"planeParralax\" numsubobjects=\"1\" nummaterials=\"1\" "
           "numofparallaxmap=\"1\">\n";
    xml << "    <material name=\"cobbles\" opacity=\"1.0\">\n";
    xml << "      <ambient r=\"0.4\" g=\"0.4\" b=\"0.4\" a=\"1.0\"/>\n";
    xml << "      <diffuse r=\"0.85\" g=\"0.82\" b=\"0.78\" a=\"1.0\"/>\n";
    xml << "      <specular r=\"0.2\" g=\"0.2\" b=\"0.2\" a=\"1.0\"/>\n";
    xml << "      <texture colormap=\"Data/TModel/cobbles_color.png\"/>\n";
    xml << "    </material>\n";
    xml << "    <parallaxmap>\n";
    xml << "      <texture heightmap=\"Data/TModel/cobbles_height.png\"/>\n";
    xml << "    </parallaxmap>\n";
    xml << "    <object name=\"floor\" numvertices=\"" << (grid + 1) * (grid + 1)
        << "\" numfaces=\"" << grid * grid << "\">\n";
    xml << "      <position x=\"0\" y=\"0\" z=\"0\"/>\n";
    xml << "      <orientation angle=\"0\" x=\"0\" y=\"1\" z=\"0\"/>\n";
    for (int j = 0; j <= grid; ++j)
        for (int i = 0; i <= grid; ++i) {
            float x = -half + 2 * half * i / grid, z = -half + 2 * half * j / grid;
            float u = repeats * i / grid, v = repeats * j / grid;
            xml << "      <vertex x=\"" << x << "\" y=\"0\" z=\"" << z << "\" u0=\"" << u
                << "\" v0=\"" << v << "\" u1=\"" << u << "\" v1=\"" << v
                << "\" u2=\"0\" v2=\"0\" u3=\"0\" v3=\"0\""
                << " r=\"1\" g=\"1\" b=\"1\" a=\"1\"/>\n";
        }
    for (int j = 0; j < grid; ++j)
        for (int i = 0; i < grid; ++i) {
            int a = j * (grid + 1) + i;
            // a, b, c wind so that cross(b - a, c - a) points up.
            xml << "      <face a=\"" << a << "\" b=\"" << a + grid + 1 << "\" c=\"" << a + grid + 2
                << "\" d=\"" << a + 1 << "\" materialindex=\"0\" parallaxmapindex=\"0\"/>\n";
        }
    xml << "    </object>\n  </model>\n</ZarvoModelFormat>\n";
    WriteText(root, "Data/TModel/planeParralax.xml", xml.str());
}

} // namespace assetgen
