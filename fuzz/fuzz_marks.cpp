// The one-pass mark path against the three passes: the input is a text, then the colour, link
// and image lists, parts separated by a zero byte. Both paths must give the same bytes for the
// text as a heading's or list's text and as a paragraph's (breaks first); a difference aborts.
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
    stv::CopyResult copy(const std::string &, const std::string &) override { return {}; }
};

std::vector<std::string_view> splitParts(std::string_view bytes)
{
    std::vector<std::string_view> parts;
    while (parts.size() < 3) {
        const auto zero = bytes.find('\0');
        if (zero == std::string_view::npos)
            break;
        parts.push_back(bytes.substr(0, zero));
        bytes.remove_prefix(zero + 1);
    }
    parts.push_back(bytes);
    parts.resize(4);
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char *>(data), size));
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
