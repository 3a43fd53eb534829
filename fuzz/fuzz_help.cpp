// The help file reader and the line layout on arbitrary bytes: the first two bytes choose a
// topic, the rest is the help file. Every body line of the chapter (and every line of the
// file) is laid out as the help window would paint it and printed; the layout never invents
// text and keeps at most one link.
#include "core/manual/HelpText.h"
#include "core/text/TextTools.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

void CheckLayout(const std::string &line)
{
    const stv::LineLayout layout = stv::layoutLine(line);
    std::size_t textBytes = 0;
    int pictures = 0;
    for (const stv::LinePiece &piece : layout.pieces) {
        if (piece.isPicture())
            ++pictures;
        else
            textBytes += piece.text.size();
    }
    if (pictures > 1 || textBytes > line.size() + stv::PicturePlaceholder.size())
        std::abort();
    if (layout.hasLink() && layout.linkTarget > 65535)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned topic = data[0] | (data[1] << 8);
    const std::string file(reinterpret_cast<const char *>(data + 2), size - 2);

    const stv::HelpChapter chapter = stv::findChapter(file, topic % 128);
    if (chapter.title.size() > stv::ChapterTitleLength)
        std::abort();
    for (const std::string &line : chapter.lines)
        CheckLayout(stv::withoutPlaceholders(line));
    (void)stv::printLines(chapter.lines);
    if (stv::lastTopicOf(file) > 65535)
        std::abort();
    for (const std::string &line : stv::splitLines(file))
        CheckLayout(line);

    // The history stays within its bound whatever is visited.
    stv::HelpHistory history;
    for (std::size_t i = 0; i < file.size() && i < 64; ++i) {
        const unsigned char c = static_cast<unsigned char>(file[i]);
        if (c % 3 == 0 && history.size() >= 2) {
            (void)history.previous();
            history.append(c);
            history.dropReturned();
        } else {
            history.leave(c);
            history.append(c * 257u);
        }
        if (history.size() > stv::HelpHistory::MaxEntries)
            std::abort();
    }
    return 0;
}
