// Speed of page generation: mark translation of a large paragraph and a page of 100,000
// sections. Throughput is counted in bytes of output.
#include "core/page/PageGenerator.h"
#include "core/project/Records.h"

#include <benchmark/benchmark.h>

namespace
{

stv::FavouriteLists benchLists()
{
    stv::FavouriteLists lists;
    for (int i = 0; i < 10; ++i)
        lists.colours.push_back(std::to_string(i * 1234567));
    lists.images = { stv::joinFields(
        { "Image", "u", "/pics/a.gif", "0", "88", "31", "A", "0", "", "1", "1", "1", "0" }) };
    return lists;
}

// About 1 MB of text holding 10,000 marks: colours, links, closings and pictures.
std::string bigParagraph()
{
    static const char *const Marks[]
        = { "{c3}", "{c/}", "{l1}", "{l/}", "{i0}", "{c99}", "{lf13}" };
    std::string text;
    text.reserve(1 << 20);
    const std::string filler(96, 'x');
    for (int i = 0; i < 10000; ++i) {
        text += filler;
        text += Marks[i % 7];
    }
    return text;
}

void BM_TranslateMarks(benchmark::State &state)
{
    const stv::FavouriteLists lists = benchLists();
    stv::PageRequest request;
    stv::DiskCopier copier;
    const std::string text = bigParagraph();
    std::size_t produced = 0;
    for (auto _ : state) {
        stv::PageGenerator generator(lists, request, copier);
        const std::string out = generator.translateMarks(text);
        produced += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(produced));
    state.counters["input_MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_TranslateMarks)->Unit(benchmark::kMillisecond);

void BM_WritePage(benchmark::State &state)
{
    const stv::FavouriteLists lists = benchLists();
    stv::Project project;
    const std::vector<std::string> kinds = {
        stv::joinFields(
            { "Heading", "u", "Title {c1}red{c/}", "3", "1", "0", "0", "0", "1", "255" }),
        stv::joinFields(
            { "Paragraph", "u", "Some text{lf13}{lf10}with {l0}a link{l/} and more words.", "2",
                "0", "1", "0", "0", "0", "", "0", "" }),
        stv::joinFields(
            { "Image", "u", "/pics/b.gif", "1", "10", "10", "B", "1", "x", "0", "1", "1", "1" }),
        stv::joinFields({ "Divider", "u", "255", "3", "50", "0" }),
        stv::joinFields({ "Anchor", "u", "n", "text", "0" }),
        stv::joinFields({ "List", "u", "a", "", "b", "l", "c", "", "", "", "", "", "", "", "", "",
            "0", "3", "255" }),
        stv::joinFields(
            { "Index", "u", "Home{lf13}{lf10}index.html{lf13}{lf10}Up{lf13}{lf10}up.html", "2", "1",
                "0", "0", "0", "1", "0" }),
        stv::joinFields({ "HTML", "u", "<TABLE>{lf13}{lf10}</TABLE>" }),
        stv::joinFields({ "PlaySound", "u", "/s/a.wav", "1", "1", "1", "1", "0" }),
    };
    const auto count = static_cast<std::size_t>(state.range(0));
    for (std::size_t i = 0; i < count; ++i)
        project.sections.push_back(kinds[i % kinds.size()]);
    stv::PageRequest request;
    stv::DiskCopier copier;
    std::size_t produced = 0;
    for (auto _ : state) {
        stv::StringSink sink;
        benchmark::DoNotOptimize(stv::writePage(project, lists, {}, request, copier, sink).ok());
        produced += sink.data().size();
        benchmark::DoNotOptimize(sink.data().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(produced));
}
BENCHMARK(BM_WritePage)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
