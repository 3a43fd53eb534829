#pragma once
// The modern page: the project written as valid HTML that fits phones. It shows what the
// classic page shows (words, pictures, links, anchors, colours, sizes, alignment, sounds) with
// a doctype, the page's language, UTF-8, a viewport, header, main and footer, one style block
// and no request to another host. Pictures and sounds are copied as on the classic page.

#include "core/files/FileIO.h"
#include "core/page/ImageSize.h"
#include "core/page/ModernMarks.h"
#include "core/page/ModernText.h"
#include "core/page/PageGenerator.h"
#include "core/page/SectionEmitter.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace stv
{

// A page generator whose emitters are the modern style's (ModernEmitters): copies, the
// dispatch by kind and the copy failures are the generator's; the skeleton, the state of the
// open paragraph and part, the marks and the anchors are its own.
class ModernPage : public PageGenerator, private PictureWriter
{
public:
    ModernPage(const FavouriteLists &lists, const PageRequest &request, FileCopier &copier);

    // The whole page's bytes (UTF-8).
    std::string buildPage(const Project &project, const PageOptions &options);
    // Writes the page into the sink in blocks, as PageGenerator::writePage does.
    bool writePage(
        const Project &header, SectionRecords records, const PageOptions &options, ByteSink &sink);

    // The emitters of the style, each reached through ModernEmitters. Each appends the
    // section's HTML, in Windows-1252 bytes, to `out`.
    void emitHeading(std::string_view record, std::string &out);
    void emitParagraph(std::string_view record, std::string &out);
    void emitImage(std::string_view record, std::string &out, bool importFiles);
    void emitDivider(std::string_view record, std::string &out);
    void emitAnchor(std::string_view record, std::string &out);
    void emitList(std::string_view record, std::string &out);
    void emitLineIndex(std::string_view record, std::string &out);
    void emitHtml(std::string_view record, std::string &out);
    void emitSound(std::string_view record, std::string &out, bool importFiles);

private:
    enum class Part { Start, Header, Main };
    void appendInlinePicture(std::string_view record, std::string &out, bool linkAllowed) override;
    void pageStart(
        const Project &header, const PageOptions &options, std::string &out, bool &importFiles);
    void pageEnd(const PageOptions &options, std::string &out);
    // Opens the page's header or main before a section of this kind.
    void enterPart(KindPos kind, std::string &out);
    // A section that starts a paragraph (unless it follows on) with this alignment class.
    void paragraphStart(std::string &out, std::string_view followOn, std::string_view align);
    // Ends the paragraph open, before a section that stands as a block of its own.
    void closeParagraph(std::string &out);
    void appendPicture(
        std::string_view record, std::string &out, bool importFlag, bool linkAllowed);
    std::optional<PixelSize> pictureSize(std::string_view storedPath);
    void flushUtf8(std::string &out, ByteSink &sink, bool &ok);

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

// The modern style's emitters, one per kind; they are ModernPage's and run only in one.
extern const SectionEmitters ModernEmitters;

} // namespace stv
