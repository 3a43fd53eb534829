// Loading and saving a large project: the reader and writer must stay linear.
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/TextTools.h"

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace stv;

namespace
{

Project bigProject(int sections)
{
    Project p;
    for (int i = 0; i < sections; ++i) {
        std::string r = newSectionRecord(i % KindCount);
        r = replaceField(r, 1, "Section " + std::to_string(i));
        p.sections.push_back(std::move(r));
    }
    return p;
}

void BM_SaveProject(benchmark::State &state)
{
    const Project p = bigProject(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = serializeProject(p);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_LoadProject(benchmark::State &state)
{
    const std::string bytes = serializeProject(bigProject(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        Project p;
        benchmark::DoNotOptimize(parseProject(bytes, "bench.stv", p).ok());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_EscapeAndReplaceAll(benchmark::State &state)
{
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += "line of paragraph text\r\n";
    for (auto _ : state) {
        std::string escaped = escapeLineBreaks(text);
        benchmark::DoNotOptimize(unescapeLineBreaks(escaped).size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

} // namespace

// The whole save as the program does it: a temporary file beside the target, fsync, rename.
void BM_SaveProjectFile(benchmark::State &state)
{
    const Project p = bigProject(static_cast<int>(state.range(0)));
    const std::string path = "/tmp/sitorva-bench-project.stv";
    for (auto _ : state)
        benchmark::DoNotOptimize(saveProjectFile(path, p).ok());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * serializeProject(p).size()));
    std::remove(path.c_str());
}

BENCHMARK(BM_SaveProject)->Arg(100000);
BENCHMARK(BM_SaveProjectFile)->Arg(100000);
BENCHMARK(BM_LoadProject)->Arg(100000);
BENCHMARK(BM_EscapeAndReplaceAll)->Arg(40000);
BENCHMARK_MAIN();
