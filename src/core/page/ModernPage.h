#pragma once
// The modern page: the project written as valid HTML that fits phones. It shows what the
// classic page shows (words, pictures, links, anchors, colours, sizes, alignment, sounds) with
// a doctype, the page's language, UTF-8, a viewport, header, main and footer, one style block
// and no request to another host. Pictures and sounds are copied through the PageGenerator
// that runs it, as on the classic page.

#include "core/files/FileIO.h"
#include "core/page/ImageSize.h"
#include "core/page/ModernMarks.h"
#include "core/page/ModernText.h"
#include "core/page/PageGenerator.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace stv
{

class ModernPage : public PictureWriter
{
public:
    ModernPage(PageGenerator &generator, const FavouriteLists &lists, const PageRequest &request);

    // The whole page's bytes (UTF-8).
    std::string buildPage(const Project &project, const PageOptions &options);
    // Writes the page into the sink in blocks, as PageGenerator::writePage does.
    bool writePage(
        const Project &header, SectionRecords records, const PageOptions &options, ByteSink &sink);

    // Each appends the section's HTML, in Windows-1252 bytes, to `out`.
    void emitRecord(std::string_view record, std::string &out, bool importFlag);
    void emitHeading(std::string_view record, std::string &out, bool importFlag);
    void emitParagraph(std::string_view record, std::string &out, bool importFlag);
    void emitImage(std::string_view record, std::string &out, bool importFlag);
    void emitDivider(std::string_view record, std::string &out, bool importFlag);
    void emitAnchor(std::string_view record, std::string &out, bool importFlag);
    void emitList(std::string_view record, std::string &out, bool importFlag);
    void emitLineIndex(std::string_view record, std::string &out, bool importFlag);
    void emitHtml(std::string_view record, std::string &out, bool importFlag);
    void emitSound(std::string_view record, std::string &out, bool importFlag);

    void appendInlinePicture(std::string_view record, std::string &out, bool linkAllowed) override;

private:
    enum class Part { Start, Header, Main };
    void pageStart(
        const Project &header, const PageOptions &options, std::string &out, bool &importFiles);
    void pageEnd(const PageOptions &options, std::string &out);
    // Opens the page's header or main before a section of the kind at `kindPos`.
    void enterPart(int kindPos, std::string &out);
    // A section that starts a paragraph (unless it follows on) with this alignment class.
    void paragraphStart(std::string &out, std::string_view followOn, std::string_view align);
    // Ends the paragraph open, before a section that stands as a block of its own.
    void closeParagraph(std::string &out);
    void appendPicture(std::string_view record, std::string &out, bool importFlag, bool linkAllowed,
        std::string_view extraClass);
    std::optional<PixelSize> pictureSize(std::string_view storedPath);
    void flushUtf8(std::string &out, ByteSink &sink, bool &ok);

    PageGenerator &m_generator;
    const FavouriteLists &m_lists;
    const PageRequest &m_request;
    ModernMarks m_marks;
    AnchorIds m_anchorIds;
    Part m_part = Part::Start;
    bool m_paragraphOpen = false;
    bool m_importRequested = false;
    unsigned m_headingCounter = 1;
    unsigned m_indexCounter = 0;
    unsigned m_pictureCounter = 0;
    std::unordered_map<std::string, std::optional<PixelSize>> m_pictureSizes;
    std::string m_text; // a line index's text with its line breaks turned back
    std::string m_utf8; // a block of the page as UTF-8
};

} // namespace stv
