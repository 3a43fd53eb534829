// The one-pass mark path against the three passes: the input is a text, then the colour, link
// and image lists, parts separated by a zero byte. Both paths must give the same bytes for the
// text as a heading's or list's text and as a paragraph's (breaks first); a difference aborts.
#include "FuzzParts.h"
#include "core/page/MarkScan.h"
#include "core/page/PageGenerator.h"
#include "core/text/TextTools.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace
{

class NoCopier : public stv::FileCopier
{
public:
    stv::CopyResult copy(const std::string &, const std::string &) override
    {
        return stv::CopyDone::Skipped;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto parts = splitFuzzParts(std::string_view(reinterpret_cast<const char *>(data), size));
    stv::FavouriteLists lists;
    lists.colours = stv::splitLines(parts[1]);
    lists.links = stv::splitLines(parts[2]);
    lists.images = stv::splitLines(parts[3]);
    stv::PageRequest request;
    request.pageFile = "/nonexistent/fuzz/page.html";
    NoCopier copier;
    stv::PageGenerator generator(lists, request, copier);

    const std::string_view text = parts[0];
    if (generator.translateMarks(text) != generator.translateMarksInPasses(text))
        std::abort();
    std::string withBreaks;
    const bool breaks = stv::replaceParagraphBreaks(text, withBreaks);
    std::string paragraph;
    generator.appendParagraphText(text, paragraph);
    if (paragraph != generator.translateMarksInPasses(breaks ? withBreaks : text))
        std::abort();
    return 0;
}
