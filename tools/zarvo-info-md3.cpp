// zarvo-info md3: loads a whole MD3 character through the engine's model class and
// reports its parts, their animations and how they are linked.
#include <cstdio>
#include <string>

#include "models/CMD3.h"
#include "tools/zarvo-info.h"

namespace {

const char* const kPartNames[4] = {"lower", "upper", "head", "weapon"};

int Usage() {
    std::fprintf(stderr, "usage: zarvo-info md3 FOLDER NAME [WEAPON] [--json]\n");
    return 2;
}

const char* PartName(CModelMD3& character, const t3DModel* model) {
    for (int p = 0; p < 4; ++p)
        if (character.GetModel(p) == model) return kPartNames[p];
    return "?";
}

void PrintPart(CModelMD3& character, int part, bool json, bool last) {
    t3DModel* m = character.GetModel(part);
    int triangles = 0;
    for (const t3DObject& obj : m->pObject)
        triangles += obj.numOfFaces;
    if (json) {
        std::printf("    %s: {\"meshes\": %d, \"triangles\": %d, \"frames\": %d, \"animations\": [",
                    Quote(kPartNames[part]).c_str(), m->numOfObjects, triangles,
                    character.GetFrameCount(m));
    } else {
        std::printf("%s: %d meshes, %d triangles, %d frames\n", kPartNames[part], m->numOfObjects,
                    triangles, character.GetFrameCount(m));
    }
    for (size_t i = 0; i < m->pAnimations.size(); ++i) {
        const tAnimationInfo& a = m->pAnimations[i];
        if (json)
            std::printf("%s\n      {\"name\": %s, \"start\": %d, \"end\": %d, \"looping\": %d, "
                        "\"fps\": %d}",
                        i ? "," : "", Quote(a.strName).c_str(), a.startFrame, a.endFrame,
                        a.loopingFrames, a.framesPerSecond);
        else
            std::printf("  %s [%d, %d) looping %d at %d fps\n", a.strName, a.startFrame, a.endFrame,
                        a.loopingFrames, a.framesPerSecond);
    }
    if (json) {
        std::printf("%s], \"links\": [", m->pAnimations.empty() ? "" : "\n    ");
        bool first = true;
        for (int i = 0; i < m->numOfTags; ++i) {
            if (!m->pLinks || !m->pLinks[i]) continue;
            std::printf("%s{\"tag\": %s, \"part\": \"%s\"}", first ? "" : ", ",
                        Quote(m->pTags[i].strName).c_str(), PartName(character, m->pLinks[i]));
            first = false;
        }
        std::printf("]}%s\n", last ? "" : ",");
        return;
    }
    for (int i = 0; i < m->numOfTags; ++i)
        if (m->pLinks && m->pLinks[i])
            std::printf("  link %s -> %s\n", m->pTags[i].strName,
                        PartName(character, m->pLinks[i]));
}

} // namespace

int RunMd3Info(int argc, char** argv) {
    std::string args[3];
    int count = 0;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json")
            json = true;
        else if (count < 3 && arg.rfind("--", 0) != 0)
            args[count++] = arg;
        else
            return Usage();
    }
    if (count < 2) return Usage();
    CModelMD3 character;
    character.SetTextureLoading(false);
    const int saved = BeginQuietStdout(json);
    bool ok = character.LoadModel(&args[0][0], &args[1][0]);
    if (count == 3) ok = character.LoadWeapon(&args[0][0], &args[2][0]) && ok;
    EndQuietStdout(saved);
    if (json)
        std::printf("{\n  \"folder\": %s,\n  \"name\": %s,\n  \"complete\": %s,\n"
                    "  \"torso_offset\": %d,\n  \"parts\": {\n",
                    Quote(args[0].c_str()).c_str(), Quote(args[1].c_str()).c_str(),
                    ok ? "true" : "false", character.GetTorsoOffset());
    else
        std::printf("%s/%s%s\ntorso offset: %d\n", args[0].c_str(), args[1].c_str(),
                    ok ? "" : " (incomplete)", character.GetTorsoOffset());
    const int parts = count == 3 ? 4 : 3;
    for (int p = 0; p < parts; ++p)
        PrintPart(character, p, json, p + 1 == parts);
    if (json) std::printf("  }\n}\n");
    return ok ? 0 : 1;
}
