#include "core/page/ClassicEmitters.h"

#include "core/page/PageGenerator.h"
#include "core/project/Records.h"
#include "core/text/TextTools.h"

namespace stv
{

using namespace std::string_view_literals;

namespace
{

// Alignment words by field family; `other` is the word for any code but "0", "1", "2".
std::string_view alignWord(std::string_view code, std::string_view left, std::string_view centre,
    std::string_view right, std::string_view other)
{
    if (code == "0")
        return left;
    if (code == "1")
        return centre;
    if (code == "2")
        return right;
    return other;
}

std::string_view headingAlign(std::string_view code)
{
    return alignWord(code, "Left", "Center", "Right", "Right");
}
std::string_view indexAlign(std::string_view code)
{
    return alignWord(code, "Left", "Center", "Right", "");
}

// The ticked styles of four flag fields from `bold` on: <B><I><U><S> opens them, and the
// closing form is the same text with every "<" turned into "</", in the same order.
class StyleTags
{
public:
    StyleTags(const std::string_view *fields, int bold)
    {
        for (std::size_t i = 0; i < 4; ++i)
            m_on[i] = flagValue(fields[static_cast<std::size_t>(bold) + i]);
    }
    void open(std::string &out) const { append(out, "<"); }
    void close(std::string &out) const { append(out, "</"); }

private:
    void append(std::string &out, std::string_view start) const
    {
        static constexpr std::string_view Letters[] = { "B>", "I>", "U>", "S>" };
        for (std::size_t i = 0; i < 4; ++i)
            if (m_on[i])
                out.append(start).append(Letters[i]);
    }
    bool m_on[4] {};
};

void paragraphStart(std::string &out, std::string_view followOn, std::string_view word)
{
    if (flagValue(followOn))
        return;
    out.append("<P ALIGN="sv).append(word).append(">"sv).append(CrLf);
}

// The colour tag pair of headings and paragraphs: written whenever the field holds text.
void colourOpen(std::string &out, std::string_view field)
{
    if (field.empty())
        return;
    out.append("<FONT COLOR=\"#"sv);
    appendHtmlColour(out, leadingInt(field));
    out.append("\">"sv);
}
void colourClose(std::string &out, std::string_view field)
{
    if (!field.empty())
        out.append("</FONT>"sv);
}

void emitHeading(PageGenerator &page, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<10>(record);
    const StyleTags style(f.data(), field::HeadingBold);
    const std::string_view colour = f[field::HeadingColour];
    const unsigned level = page.nextHeadingNumber();
    out.append("<H"sv);
    appendNumber(out, level);
    out.append(" ALIGN="sv).append(headingAlign(f[field::HeadingAlign])).append(">"sv).append(CrLf);
    colourOpen(out, colour);
    style.open(out);
    appendFontSizeTag(out, leadingInt(f[field::HeadingSize]));
    out.append("<BIG>"sv);
    page.appendMarks(f[field::HeadingText], out);
    out.append("</BIG></FONT>"sv);
    style.close(out);
    colourClose(out, colour);
    out.append(CrLf).append("</H"sv);
    appendNumber(out, level);
    out.append(">"sv).append(CrLf);
}

void emitParagraph(PageGenerator &page, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<12>(record);
    paragraphStart(out, f[field::ParaFollowOn], headingAlign(f[field::ParaAlign]));
    const StyleTags style(f.data(), field::ParaBold);
    const std::string_view colour = f[field::ParaColour];
    const std::string_view link = f[field::ParaLink];
    colourOpen(out, colour);
    style.open(out);
    appendFontSizeTag(out, leadingInt(f[field::ParaSize]));
    if (!link.empty())
        out.append("<A HREF=\""sv).append(link).append("\">"sv);
    const std::string_view text = f[field::ParaText];
    page.appendParagraphText(text, out);
    if (!link.empty())
        out.append("</A>"sv);
    out.append("</FONT>"sv);
    style.close(out);
    colourClose(out, colour);
    out.append(CrLf);
}

void emitImage(PageGenerator &page, std::string_view record, std::string &out, bool importFiles)
{
    const auto f = fieldViews<13>(record);
    paragraphStart(out, f[field::ImageFollowOn],
        alignWord(f[field::ImageJustify], "LEFT", "CENTER", "RIGHT", ""));
    std::string_view source = f[field::ImageFile];
    std::string imported;
    if (flagValue(f[field::ImageImport]) && importFiles) {
        imported = page.importPicture(source).name;
        source = imported;
    }

    const std::string_view linkType = f[field::ImageLinkType];
    const std::string_view link = f[field::ImageLink];
    const bool linked = linkType != "0" && !link.empty();
    if (linked) {
        const std::string_view prefix = linkType == "2" ? "mailto:" : linkType == "3" ? "#" : "";
        out.append("<A HREF=\""sv).append(prefix).append(link).append("\">"sv);
    }
    out.append("<IMG SRC=\""sv).append(source).append("\" "sv);
    if (const std::string_view w = f[field::ImageWidth]; !w.empty())
        out.append("WIDTH=\""sv).append(w).append("\" "sv);
    if (const std::string_view h = f[field::ImageHeight]; !h.empty())
        out.append("HEIGHT=\""sv).append(h).append("\" "sv);
    if (const std::string_view alt = f[field::ImageAltText]; !alt.empty())
        out.append("ALT=\""sv).append(alt).append("\" "sv);
    static constexpr std::string_view Positions[] = { "ALIGN=\"TOP\" ", "ALIGN=\"MIDDLE\" ",
        "ALIGN=\"BOTTOM\" ", "ALIGN=\"LEFT\" ", "ALIGN=\"RIGHT\" " };
    const std::string_view pos = f[field::ImagePosition];
    if (pos.size() == 1 && pos[0] >= '0' && pos[0] <= '4')
        out.append(Positions[pos[0] - '0']);
    if (!flagValue(f[field::ImageLinkBorder]))
        out.append("Border=\"0\""sv);
    out.append(">"sv);
    if (linked)
        out.append("</A>"sv);
    out.append(CrLf);
}

void emitDivider(PageGenerator &, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<6>(record);
    addLine(out, "<P>");
    out.append("<HR "sv);
    if (!flagValue(f[field::Divider3D])) {
        out.append("noshade color=\"#"sv);
        appendHtmlColour(out, leadingInt(f[field::DividerColour]));
        out.append("\" "sv);
    }
    if (const std::string_view size = f[field::DividerThickness]; size != "1")
        out.append("size=\""sv).append(size).append("\" "sv);
    if (const std::string_view width = f[field::DividerWidth]; width != "100")
        out.append("width=\""sv).append(width).append("%\" "sv);
    out.append(">"sv).append(CrLf);
    addLine(out, "<P>");
}

void emitAnchor(PageGenerator &, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<5>(record);
    if (!flagValue(f[field::AnchorFollowOn]))
        addLine(out, "<P>");
    out.append("<A NAME=\""sv)
        .append(f[field::AnchorName])
        .append("\"><!-- -->"sv)
        .append(f[field::AnchorText])
        .append("</A>"sv)
        .append(CrLf);
}

void emitList(PageGenerator &page, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<19>(record);
    const bool numbered = leadingInt(f[field::ListType]) != 0;
    const int size = leadingInt(f[field::ListSize]);
    const int colour = leadingInt(f[field::ListColour]);

    addLine(out, numbered ? "<OL>"sv : "<UL>"sv);
    for (int k = 1; k <= field::ListRows; ++k) {
        const std::string_view text = f[static_cast<std::size_t>(field::listText(k))];
        const std::string_view link = f[static_cast<std::size_t>(field::listLink(k))];
        if (text.empty())
            continue;
        out.append("<LI> "sv);
        if (colour != 0) {
            out.append("<FONT COLOR=\"#"sv);
            appendHtmlColour(out, colour);
            out.append("\">"sv);
        }
        if (size != 2)
            appendFontSizeTag(out, size);
        if (!link.empty())
            out.append("<A HREF=\""sv).append(link).append("\">"sv);
        page.appendMarks(text, out);
        if (!link.empty())
            out.append("</A>"sv);
        if (size != 2)
            out.append("</FONT>"sv);
        if (colour != 0)
            out.append("</FONT>"sv);
        out.append(CrLf);
    }
    addLine(out, numbered ? "</OL>"sv : "</UL>"sv);
}

void emitLineIndex(PageGenerator &page, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<10>(record);
    paragraphStart(out, f[field::IndexFollowOn], indexAlign(f[field::IndexAlign]));
    std::string_view text = f[field::IndexLines];
    PageGenerator::EmitterBuffers &buffers = page.buffers();
    if (text.find('{') != std::string_view::npos) {
        buffers.text.clear();
        appendUnescapedLineBreaks(text, buffers.text);
        text = buffers.text;
    }
    const StyleTags style(f.data(), field::IndexBold);
    appendFontSizeTag(out, leadingInt(f[field::IndexSize]));
    style.open(out);
    // Labels and addresses alternate; each label is translated into the page right after
    // its address, never held translated. A last label without an address is dropped, yet
    // translated all the same (a picture mark copies its file), and the link before it keeps
    // its separator; a single line is neither written nor translated.
    LineCursor lines(text);
    std::string_view label, address;
    for (bool first = true; lines.next(label); first = false) {
        if (!first)
            out.append(" | "sv);
        if (!lines.next(address)) {
            if (!first) {
                buffers.label.clear();
                page.appendMarks(label, buffers.label);
            }
            break;
        }
        out.append("<A HREF=\""sv).append(address).append("\">"sv);
        page.appendMarks(label, out);
        out.append("</A>"sv);
    }
    style.close(out);
    out.append("</Font>"sv).append(CrLf);
}

void emitHtml(PageGenerator &, std::string_view record, std::string &out, bool)
{
    const auto f = fieldViews<3>(record);
    appendUnescapedLineBreaks(f[field::HTMLCode], out);
    out.append(CrLf);
}

void emitSound(PageGenerator &page, std::string_view record, std::string &out, bool importFiles)
{
    const auto f = fieldViews<8>(record);
    paragraphStart(out, f[field::SoundFollowOn], indexAlign(f[field::SoundAlign]));
    std::string_view source = f[field::SoundFile];
    std::string imported;
    // The section's own "&Import Sound File" box decides, as an image's box does.
    if (importFiles && flagValue(f[field::SoundImport])) {
        imported = page.importFile(source, MediaKind::Sound);
        source = imported;
    }
    out.append("<EMBED SRC=\""sv)
        .append(source)
        .append("\" "sv)
        .append(flagValue(f[field::SoundAutoStart]) ? "AUTOSTART=\"True\""sv : ""sv)
        .append(" "sv)
        .append(flagValue(f[field::SoundHidden]) ? "HIDDEN=\"True\""sv : ""sv)
        .append(">"sv)
        .append(CrLf);
}

} // namespace

constexpr KindEntry<SectionEmitter> ClassicEmitterEntries[] = {
    { KindPos::Heading, &emitHeading },
    { KindPos::Paragraph, &emitParagraph },
    { KindPos::Image, &emitImage },
    { KindPos::Divider, &emitDivider },
    { KindPos::Anchor, &emitAnchor },
    { KindPos::List, &emitList },
    { KindPos::Index, &emitLineIndex },
    { KindPos::HTML, &emitHtml },
    { KindPos::PlaySound, &emitSound },
};
constexpr SectionEmitters ClassicEmitters = tableByKind(ClassicEmitterEntries);
static_assert(
    coversEveryKind(ClassicEmitterEntries), "the classic style needs an emitter for every kind");

} // namespace stv
