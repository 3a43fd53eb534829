// The page generator on arbitrary projects and lists: the input is the project file, then the
// colour, link and image lists, parts separated by a zero byte. A project that does not load
// is used as a list of section records instead, so every emitter sees arbitrary records.
// Copies go to a fake copier that fails every other one; nothing touches the disk.
#include "FuzzParts.h"
#include "core/page/PageGenerator.h"
#include "core/text/TextTools.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace
{

class FakeCopier : public stv::FileCopier
{
public:
    stv::CopyResult copy(const std::string &, const std::string &) override
    {
        if (++m_calls % 2 == 0)
            return stv::fail("no space");
        return stv::CopyDone::Copied;
    }

private:
    int m_calls = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    const auto parts
        = splitFuzzParts(std::string_view(reinterpret_cast<const char *>(data + 1), size - 1));

    stv::Project project;
    if (!stv::parseProject(parts[0], "fuzz.stv", project).ok())
        project.sections = stv::splitLines(parts[0]);

    stv::FavouriteLists lists;
    lists.colours = stv::splitLines(parts[1]);
    if (!parts[2].empty())
        lists.links = stv::splitLines(parts[2]);
    lists.images = stv::splitLines(parts[3]);

    stv::PageOptions options;
    options.siteLastUpdated = flags & 1;
    options.updateBlack = flags & 2;
    stv::PageRequest request;
    request.importRequested = flags & 4;
    request.pageFile = "/nonexistent/fuzz/page.html";
    request.sourceFolder = "/nonexistent/fuzz/";
    FakeCopier copier;
    stv::StringSink sink;
    const stv::PageResult result = stv::writePage(project, lists, options, request, copier, sink);
    if (!result.ok() || sink.data().empty())
        std::abort();

    // The marks of every part on their own, through a fresh generator.
    FakeCopier copier2;
    stv::PageGenerator generator(lists, request, copier2);
    for (const auto part : parts)
        (void)generator.translateMarks(part);
    return 0;
}
