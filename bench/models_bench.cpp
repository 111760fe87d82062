// Model loading against assimp on the corpus files. Both sides read the file from disk.
// An MD2 load here decodes every frame while assimp decodes frame 0 only, so the MD2
// comparison is per decoded frame (the "per_frame" counter); 3DS compares whole loads.
#include <assimp/cimport.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "models/3dsLoader.h"
#include "models/CMD2Loader.h"

namespace {

std::string CorpusFile(const char* name) {
    const char* dir = std::getenv("ZARVO_CORPUS");
    return std::string(dir ? dir : ZARVO_CORPUS_DEFAULT) + "/models/" + name;
}

void PerFrame(benchmark::State& state, int frames) {
    state.counters["frames"] = frames;
    state.counters["per_frame"] =
        benchmark::Counter(double(state.iterations()) * frames,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ZarvoMd2(benchmark::State& state, const char* name) {
    std::string path = CorpusFile(name);
    int frames = 0;
    for (auto _ : state) {
        CMD2Loader loader;
        t3DModel model;
        if (!loader.ImportMD2(&model, &path[0], nullptr)) {
            state.SkipWithError("load failed");
            return;
        }
        frames = model.numOfObjects;
        benchmark::DoNotOptimize(model.pObject.data());
        ReleaseModel(model);
    }
    PerFrame(state, frames);
}

void Zarvo3ds(benchmark::State& state, const char* name) {
    std::string path = CorpusFile(name);
    for (auto _ : state) {
        CLoad3DS loader;
        t3DModel model;
        if (!loader.Import3DS(&model, &path[0], false)) {
            state.SkipWithError("load failed");
            return;
        }
        benchmark::DoNotOptimize(model.pObject.data());
        ReleaseModel(model);
    }
}

void AssimpLoad(benchmark::State& state, const char* name, int framesDecoded) {
    const std::string path = CorpusFile(name);
    for (auto _ : state) {
        const aiScene* scene = aiImportFile(path.c_str(), 0);
        if (!scene) {
            state.SkipWithError("assimp failed");
            return;
        }
        benchmark::DoNotOptimize(scene->mMeshes);
        aiReleaseImport(scene);
    }
    if (framesDecoded) PerFrame(state, framesDecoded);
}

} // namespace

BENCHMARK_CAPTURE(ZarvoMd2, sydney, "sydney.md2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AssimpLoad, sydney_md2, "sydney.md2", 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ZarvoMd2, faerie, "faerie.md2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AssimpLoad, faerie_md2, "faerie.md2", 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Zarvo3ds, room, "room.3ds")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AssimpLoad, room_3ds, "room.3ds", 0)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
