#include "core/page/ModernPage.h"

#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"

namespace stv
{

using namespace std::string_view_literals;

namespace
{

// The one style block. Sizes are relative to the reader's own text size: the seven designed
// sizes (Tiny to Massive, "s0" to "s6"; headings one step larger, as the classic page's <BIG>
// makes them, "t0" to "t6"). The column fills a phone and keeps a comfortable measure on a
// desktop; pictures never get wider than the screen; links that stand alone are large enough
// to be touched.
constexpr std::string_view StyleRules
    = "*,::before,::after{box-sizing:border-box}\n"
      "html{-webkit-text-size-adjust:100%;text-size-adjust:100%}\n"
      "body{margin:0;padding:0 1rem;color:#000;font:1rem/1.5 system-ui,-apple-system,"
      "\"Segoe UI\",Roboto,\"Helvetica Neue\",Arial,sans-serif;overflow-wrap:break-word}\n"
      "header,main,footer{max-width:42rem;margin:0 auto}\n"
      "main::after{content:\"\";display:block;clear:both}\n"
      "img,audio{max-width:100%}\n"
      "img{height:auto;border:0}\n"
      "a img.bd{border:2px solid;box-sizing:content-box}\n"
      "h1,h2,h3,h4,h5,h6,.h{margin:1.25rem 0 .5rem;line-height:1.25;font-weight:bold}\n"
      "p,ul,ol,nav{margin:.75rem 0}\n"
      "li{margin:.25rem 0}\n"
      "hr{margin:1rem auto}\n"
      "nav a,li>a:only-child,footer a{display:inline-block;min-width:24px;min-height:24px}\n"
      ".s0{font-size:.75rem}.s1{font-size:.875rem}.s2{font-size:1rem}.s3{font-size:1.25rem}"
      ".s4{font-size:1.5rem}.s5{font-size:2rem}.s6{font-size:2.5rem}\n"
      ".t0{font-size:.9rem}.t1{font-size:1.05rem}.t2{font-size:1.2rem}.t3{font-size:1.5rem}"
      ".t4{font-size:1.8rem}.t5{font-size:2.4rem}.t6{font-size:3rem}\n"
      ".al{text-align:left}.ac{text-align:center}.ar{text-align:right}\n"
      ".vt{vertical-align:top}.vm{vertical-align:middle}.vb{vertical-align:baseline}\n"
      ".fl{float:left;margin:0 1rem .5rem 0}.fr{float:right;margin:0 0 .5rem 1rem}\n"
      "footer{clear:both;text-align:center;padding:1rem 0}\n"
      ".fb{color:#000}.fw{color:#FFF}\n"
      ".upd{font-size:1.125rem;font-weight:bold}.credit{font-size:.875rem}\n";

constexpr std::string_view Nl = "\n";

// Alignment classes by field family, as the classic page's alignment words.
std::string_view alignClass(std::string_view code, std::string_view other)
{
    if (code == "0")
        return "al";
    if (code == "1")
        return "ac";
    if (code == "2")
        return "ar";
    return other;
}

// "s0" to "s6" (or "t0" to "t6" with prefix 't') for a stored size; sizes beyond the seven
// take the nearest.
void appendSizeClass(std::string &out, char prefix, std::string_view field)
{
    const int size = leadingInt(field);
    out += prefix;
    out += static_cast<char>('0' + (size < 0 ? 0 : size > 6 ? 6 : size));
}

void appendColourStyle(std::string &out, long long colour)
{
    out.append(" style=\"color:#"sv);
    appendHtmlColour(out, colour);
    out.append("\""sv);
}

// The ticked styles of four flag fields from `bold` on, as elements: <b><i><u><s>, closed in
// the reverse order.
class StyleElements
{
public:
    StyleElements(const std::string_view *fields, int bold)
    {
        for (std::size_t i = 0; i < 4; ++i)
            m_on[i] = flagValue(fields[static_cast<std::size_t>(bold) + i]);
    }
    void open(std::string &out) const
    {
        for (std::size_t i = 0; i < 4; ++i)
            if (m_on[i])
                out.append("<"sv).append(Letters[i]);
    }
    void close(std::string &out) const
    {
        for (std::size_t i = 4; i-- > 0;)
            if (m_on[i])
                out.append("</"sv).append(Letters[i]);
    }

private:
    static constexpr std::string_view Letters[] = { "b>", "i>", "u>", "s>" };
    bool m_on[4] {};
};

// A size field as a number of pixels, when it holds only digits.
std::optional<int> pixelField(std::string_view field)
{
    if (field.empty() || field.size() > 6)
        return std::nullopt;
    for (const char c : field)
        if (c < '0' || c > '9')
            return std::nullopt;
    const int value = leadingInt(field);
    return value > 0 ? std::optional<int>(value) : std::nullopt;
}

// A size field as a percentage ("50%"), when it is one.
std::optional<int> percentField(std::string_view field)
{
    if (field.size() < 2 || field.back() != '%')
        return std::nullopt;
    return pixelField(field.substr(0, field.size() - 1));
}

std::string_view withoutExtension(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

ModernPage::ModernPage(const FavouriteLists &lists, const PageRequest &request, FileCopier &copier)
    : PageGenerator(lists, request, copier, ModernEmitters)
    , m_request(request)
    , m_marks(lists, *this)
    , m_importRequested(request.importRequested)
{
}

void ModernPage::enterPart(KindPos kind, std::string &out)
{
    if (m_part == Part::Main)
        return;
    if (m_part == Part::Start && kind == KindPos::Heading) {
        // A page that opens with a heading has it as its header.
        out.append("<header>\n"sv);
        m_part = Part::Header;
        return;
    }
    if (m_part == Part::Header) {
        closeParagraph(out);
        out.append("</header>\n"sv);
    }
    out.append("<main>\n"sv);
    m_part = Part::Main;
}

void ModernPage::paragraphStart(std::string &out, std::string_view followOn, std::string_view align)
{
    if (flagValue(followOn) && m_paragraphOpen)
        return;
    closeParagraph(out);
    if (flagValue(followOn) || align.empty())
        out.append("<p>"sv);
    else
        out.append("<p class=\""sv).append(align).append("\">"sv);
    m_paragraphOpen = true;
}

void ModernPage::closeParagraph(std::string &out)
{
    if (!m_paragraphOpen)
        return;
    out.append("</p>\n"sv);
    m_paragraphOpen = false;
}

void ModernPage::emitHeading(std::string_view record, std::string &out)
{
    const auto f = fieldViews<10>(record);
    enterPart(KindPos::Heading, out);
    closeParagraph(out);
    // Levels beyond six have no element of their own: a heading role carries the level.
    const unsigned level = m_headingCounter++;
    const bool element = level <= 6;
    if (element) {
        out.append("<h"sv);
        appendNumber(out, level);
    } else {
        out.append("<div role=\"heading\" aria-level=\""sv);
        appendNumber(out, level);
        out.append("\""sv);
    }
    out.append(" class=\""sv).append(element ? ""sv : "h "sv);
    out.append(alignClass(f[field::HeadingAlign], "ar")).append(" "sv);
    appendSizeClass(out, 't', f[field::HeadingSize]);
    out.append("\""sv);
    if (!f[field::HeadingColour].empty())
        appendColourStyle(out, leadingInt(f[field::HeadingColour]));
    out.append(">"sv);
    const StyleElements style(f.data(), field::HeadingBold);
    style.open(out);
    m_marks.append(f[field::HeadingText], out, false, false);
    style.close(out);
    if (element) {
        out.append("</h"sv);
        appendNumber(out, level);
        out.append(">\n"sv);
    } else {
        out.append("</div>\n"sv);
    }
}

void ModernPage::emitParagraph(std::string_view record, std::string &out)
{
    const auto f = fieldViews<12>(record);
    enterPart(KindPos::Paragraph, out);
    paragraphStart(out, f[field::ParaFollowOn], alignClass(f[field::ParaAlign], "ar"));
    out.append("<span class=\""sv);
    appendSizeClass(out, 's', f[field::ParaSize]);
    out.append("\""sv);
    if (!f[field::ParaColour].empty())
        appendColourStyle(out, leadingInt(f[field::ParaColour]));
    out.append(">"sv);
    const StyleElements style(f.data(), field::ParaBold);
    style.open(out);
    const std::string_view link = f[field::ParaLink];
    if (!link.empty()) {
        out.append("<a href=\""sv);
        appendAddress(link, out);
        out.append("\">"sv);
    }
    m_marks.append(f[field::ParaText], out, true, !link.empty());
    if (!link.empty())
        out.append("</a>"sv);
    style.close(out);
    out.append("</span>\n"sv);
}

std::optional<PixelSize> ModernPage::pictureSize(std::string_view storedPath)
{
    const std::string &folder = m_request.sourceFolder;
    std::string path
        = nativePathIn(storedPath, folder.empty() ? folderPart(m_request.pageFile) : folder);
    const auto known = m_pictureSizes.find(path);
    if (known != m_pictureSizes.end())
        return known->second;
    const std::optional<PixelSize> size = pictureFileSize(path);
    m_pictureSizes.emplace(std::move(path), size);
    return size;
}

void ModernPage::appendPicture(
    std::string_view record, std::string &out, bool importFlag, bool linkAllowed)
{
    const auto f = fieldViews<13>(record);
    const std::string_view file = f[field::ImageFile];
    if (file.empty()) // no picture chosen: nothing to show
        return;
    ImportedPicture imported;
    std::string_view source = file;
    if (flagValue(f[field::ImageImport]) && importFlag) {
        imported = importPicture(file);
        source = imported.name;
    }

    const std::string_view linkType = f[field::ImageLinkType];
    const std::string_view link = f[field::ImageLink];
    const bool linked = linkAllowed && linkType != "0" && !link.empty();
    if (linked) {
        out.append("<a href=\""sv);
        if (linkType == "2")
            out.append("mailto:"sv);
        if (linkType == "3")
            out.append("#"sv).append(anchorIdOf(link));
        else
            appendAddress(link, out);
        out.append("\">"sv);
    }
    out.append("<img src=\""sv);
    appendAddress(source, out);
    out.append("\" alt=\""sv);
    // A linked picture needs a text for its link: its file's name when it has none of its own.
    const std::string_view alt = f[field::ImageAltText];
    appendAttributeValue(alt.empty() && linked ? withoutExtension(fileNamePart(file)) : alt, out);
    out.append("\""sv);

    std::optional<int> width = pixelField(f[field::ImageWidth]);
    std::optional<int> height = pixelField(f[field::ImageHeight]);
    const std::optional<int> percent = percentField(f[field::ImageWidth]);
    if ((!width || !height) && !percent) {
        // The size of the picture made for the web when there is one, else the file's.
        const std::optional<PixelSize> size = imported.width > 0 && imported.height > 0
            ? std::optional<PixelSize>(PixelSize { imported.width, imported.height })
            : pictureSize(file);
        if (size) {
            if (!width && !height) {
                width = size->width;
                height = size->height;
            } else if (!height) {
                height = static_cast<int>(
                    (static_cast<long long>(*width) * size->height + size->width / 2)
                    / size->width);
            } else {
                width = static_cast<int>(
                    (static_cast<long long>(*height) * size->width + size->height / 2)
                    / size->height);
            }
        }
    }
    if (width && !percent) {
        out.append(" width=\""sv);
        appendNumber(out, static_cast<unsigned>(*width));
        out.append("\""sv);
    }
    if (height && *height > 0) {
        out.append(" height=\""sv);
        appendNumber(out, static_cast<unsigned>(*height));
        out.append("\""sv);
    }
    if (percent) {
        out.append(" style=\"width:"sv);
        appendNumber(out, static_cast<unsigned>(*percent));
        out.append("%\""sv);
    }
    // The first picture is wanted at once; the others load as they come into view.
    if (m_pictureCounter++ > 0)
        out.append(" loading=\"lazy\""sv);

    static constexpr std::string_view Positions[] = { "vt", "vm", "vb", "fl", "fr" };
    std::string classes;
    const std::string_view pos = f[field::ImagePosition];
    if (pos.size() == 1 && pos[0] >= '0' && pos[0] <= '4')
        classes.append(classes.empty() ? "" : " ").append(Positions[pos[0] - '0']);
    if (linked && flagValue(f[field::ImageLinkBorder]))
        classes.append(classes.empty() ? "bd" : " bd");
    if (!classes.empty())
        out.append(" class=\""sv).append(classes).append("\""sv);
    out.append(">"sv);
    if (linked)
        out.append("</a>"sv);
}

void ModernPage::appendInlinePicture(std::string_view record, std::string &out, bool linkAllowed)
{
    appendPicture(record, out, m_importRequested, linkAllowed);
}

void ModernPage::emitImage(std::string_view record, std::string &out, bool importFiles)
{
    const auto f = fieldViews<13>(record);
    if (f[field::ImageFile].empty()) // no picture chosen: nothing to show
        return;
    enterPart(KindPos::Image, out);
    paragraphStart(out, f[field::ImageFollowOn], alignClass(f[field::ImageJustify], ""));
    appendPicture(record, out, importFiles, true);
    out.append(Nl);
}

void ModernPage::emitDivider(std::string_view record, std::string &out)
{
    const auto f = fieldViews<6>(record);
    enterPart(KindPos::Divider, out);
    closeParagraph(out);
    const int thickness = leadingInt(f[field::DividerThickness]);
    const std::string_view width = f[field::DividerWidth];
    std::string style;
    if (!flagValue(f[field::Divider3D])) {
        // A flat rule in the chosen colour; the classic page's default thickness is 2 pixels.
        style.append("border:0;background:#"sv);
        appendHtmlColour(style, leadingInt(f[field::DividerColour]));
        style.append(";height:"sv);
        appendNumber(style,
            static_cast<unsigned>(
                f[field::DividerThickness] == "1" || thickness < 1 ? 2 : thickness));
        style.append("px"sv);
    } else if (f[field::DividerThickness] != "1" && thickness > 0) {
        style.append("height:"sv);
        appendNumber(style, static_cast<unsigned>(thickness));
        style.append("px"sv);
    }
    if (const int percent = leadingInt(width); width != "100" && percent > 0 && percent < 100) {
        style.append(style.empty() ? "width:"sv : ";width:"sv);
        appendNumber(style, static_cast<unsigned>(percent));
        style.append("%"sv);
    }
    out.append("<hr"sv);
    if (!style.empty())
        out.append(" style=\""sv).append(style).append("\""sv);
    out.append(">\n"sv);
}

void ModernPage::emitAnchor(std::string_view record, std::string &out)
{
    const auto f = fieldViews<5>(record);
    enterPart(KindPos::Anchor, out);
    paragraphStart(out, f[field::AnchorFollowOn], {});
    const std::string id = m_anchorIds.take(f[field::AnchorName]);
    if (id.empty()) {
        out.append("<span>"sv);
    } else {
        out.append("<span id=\""sv);
        appendAttributeValue(id, out);
        out.append("\">"sv);
    }
    appendBodyText(f[field::AnchorText], out);
    out.append("</span>\n"sv);
}

void ModernPage::emitList(std::string_view record, std::string &out)
{
    const auto f = fieldViews<19>(record);
    enterPart(KindPos::List, out);
    closeParagraph(out);
    const bool numbered = leadingInt(f[field::ListType]) != 0;
    const int colour = leadingInt(f[field::ListColour]);
    out.append(numbered ? "<ol class=\""sv : "<ul class=\""sv);
    appendSizeClass(out, 's', f[field::ListSize]);
    out.append("\""sv);
    if (colour != 0)
        appendColourStyle(out, colour);
    out.append(">\n"sv);
    for (int k = 1; k <= field::ListRows; ++k) {
        const std::string_view text = f[static_cast<std::size_t>(field::listText(k))];
        const std::string_view link = f[static_cast<std::size_t>(field::listLink(k))];
        if (text.empty())
            continue;
        out.append("<li>"sv);
        if (!link.empty()) {
            out.append("<a href=\""sv);
            appendAddress(link, out);
            out.append("\">"sv);
        }
        m_marks.append(text, out, false, !link.empty());
        if (!link.empty())
            out.append("</a>"sv);
        out.append("</li>\n"sv);
    }
    out.append(numbered ? "</ol>\n"sv : "</ul>\n"sv);
}

void ModernPage::emitLineIndex(std::string_view record, std::string &out)
{
    const auto f = fieldViews<10>(record);
    enterPart(KindPos::Index, out);
    std::string_view text = f[field::IndexLines];
    if (text.find('{') != std::string_view::npos) {
        m_text.clear();
        appendUnescapedLineBreaks(text, m_text);
        text = m_text;
    }
    // Labels and addresses alternate; with fewer than two lines there is no link to show.
    LineCursor lines(text);
    std::string_view label, address;
    if (!lines.next(label) || !lines.next(address))
        return;
    closeParagraph(out);
    out.append("<nav"sv);
    if (const std::string_view align = alignClass(f[field::IndexAlign], ""); !align.empty())
        out.append(" class=\""sv).append(align).append(" "sv);
    else
        out.append(" class=\""sv);
    appendSizeClass(out, 's', f[field::IndexSize]);
    // Every navigation region of the page has a name of its own.
    out.append("\" aria-label=\"Links"sv);
    if (++m_indexCounter > 1) {
        out.append(" "sv);
        appendNumber(out, m_indexCounter);
    }
    out.append("\">"sv);
    const StyleElements style(f.data(), field::IndexBold);
    style.open(out);
    // As on the classic page, a last label without an address is dropped and the link before
    // it keeps its separator.
    for (bool first = true;; first = false) {
        if (!first) {
            out.append(" | "sv);
            if (!lines.next(label) || !lines.next(address))
                break;
        }
        out.append("<a href=\""sv);
        appendAddress(address, out);
        out.append("\">"sv);
        m_marks.append(label, out, false, true);
        out.append("</a>"sv);
        if (lines.rest().empty())
            break;
    }
    style.close(out);
    out.append("</nav>\n"sv);
}

void ModernPage::emitHtml(std::string_view record, std::string &out)
{
    const auto f = fieldViews<3>(record);
    enterPart(KindPos::HTML, out);
    closeParagraph(out);
    appendUnescapedLineBreaks(f[field::HTMLCode], out);
    out.append(Nl);
}

void ModernPage::emitSound(std::string_view record, std::string &out, bool importFiles)
{
    const auto f = fieldViews<8>(record);
    std::string_view source = f[field::SoundFile];
    if (source.empty()) // no sound chosen
        return;
    enterPart(KindPos::PlaySound, out);
    paragraphStart(out, f[field::SoundFollowOn], alignClass(f[field::SoundAlign], ""));
    std::string imported;
    if (importFiles && flagValue(f[field::SoundImport])) {
        imported = importFile(source, MediaKind::Sound);
        source = imported;
    }
    out.append("<audio src=\""sv);
    appendAddress(source, out);
    out.append("\""sv);
    // A hidden sound has no player to show; it plays only when it starts by itself.
    if (!flagValue(f[field::SoundHidden]))
        out.append(" controls"sv);
    if (flagValue(f[field::SoundAutoStart]))
        out.append(" autoplay"sv);
    out.append("></audio>\n"sv);
}

void ModernPage::pageStart(
    const Project &header, const PageOptions &options, std::string &out, bool &importFiles)
{
    m_headingCounter = 1;
    m_indexCounter = 0;
    m_pictureCounter = 0;
    m_part = Part::Start;
    m_paragraphOpen = false;
    m_anchorIds.clear();

    out.append("<!DOCTYPE html>\n<html lang=\""sv);
    appendAttributeValue(languageTag(options.language).empty() ? "en" : options.language, out);
    out.append("\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
               "<title>"sv);
    // A page needs a title: without one of its own it takes the page file's name.
    std::string title = header.pageTitle;
    if (title.find_first_not_of(" \t") == std::string::npos) {
        title = std::string(withoutExtension(fileNamePart(m_request.pageFile)));
        if (title.empty())
            title = "Web page";
    }
    appendBodyText(title, out);
    out.append("</title>\n"sv);
    if (findText("description", header.headCode) == 0) {
        out.append("<meta name=\"description\" content=\""sv);
        appendAttributeValue(title, out);
        out.append("\">\n"sv);
    }
    // An empty icon: without it the browser asks the server for /favicon.ico.
    out.append("<meta name=\"generator\" content=\"Sitorva 98\">\n"
               "<link rel=\"icon\" href=\"data:,\">\n"sv);
    if (!header.headCode.empty())
        out.append(header.headCode).append(Nl);

    importFiles = m_importRequested && header.importBackgroundImage;
    out.append("<style>\n"sv).append(StyleRules).append("body{background:#"sv);
    appendHtmlColour(out, header.backgroundColour);
    if (!header.backgroundImage.empty()) {
        const std::string image
            = importFiles ? importPicture(header.backgroundImage).name : header.backgroundImage;
        out.append(" url(\""sv);
        for (const char c : image) {
            if (c == '"' || c == '\\' || c == '\n' || c == '\r')
                out += '\\';
            out += c;
        }
        out.append("\")"sv);
    }
    out.append("}\n</style>\n</head>\n<body>\n"sv);
}

void ModernPage::pageEnd(const PageOptions &options, std::string &out)
{
    closeParagraph(out);
    if (m_part == Part::Header)
        out.append("</header>\n"sv);
    out.append(m_part == Part::Main ? "</main>\n"sv : "<main></main>\n"sv);
    out.append(options.updateBlack ? "<footer class=\"fb\">\n"sv : "<footer class=\"fw\">\n"sv);
    if (options.siteLastUpdated)
        out.append("<p class=\"upd\">Site Last Updated "sv)
            .append(formatLastUpdated(m_request.when, m_request.names))
            .append("</p>\n"sv);
    out.append("<p class=\"credit\">Created with <a href=\""sv)
        .append(MakerSite)
        .append("\">Sitorva 98</a></p>\n</footer>\n</body>\n</html>\n"sv);
}

void ModernPage::flushUtf8(std::string &out, ByteSink &sink, bool &ok)
{
    m_utf8.clear();
    appendPageUtf8(out, m_utf8);
    out.clear();
    ok = ok && sink.write(m_utf8);
}

std::string ModernPage::buildPage(const Project &project, const PageOptions &options)
{
    std::string out;
    bool importFiles = false;
    pageStart(project, options, out, importFiles);
    for (const std::string &record : project.sections)
        emitRecord(record, out, importFiles);
    pageEnd(options, out);
    m_utf8.clear();
    appendPageUtf8(out, m_utf8);
    return m_utf8;
}

bool ModernPage::writePage(
    const Project &header, SectionRecords records, const PageOptions &options, ByteSink &sink)
{
    std::string out;
    out.reserve(PageGenerator::PageBlockSize + PageGenerator::PageBlockSize / 2);
    bool importFiles = false;
    bool ok = true;
    pageStart(header, options, out, importFiles);
    std::size_t position = 0;
    const bool written = records.forEach([&](std::string_view record) {
        if (m_request.sectionMarks)
            appendSectionMark(out, position++);
        emitRecord(record, out, importFiles);
        if (out.size() >= PageGenerator::PageBlockSize)
            flushUtf8(out, sink, ok);
        return ok;
    });
    if (!written)
        return false;
    pageEnd(options, out);
    flushUtf8(out, sink, ok);
    return ok;
}

namespace
{

ModernPage &modernPage(PageGenerator &page)
{
    // ModernEmitters is given to no generator but a ModernPage.
    return static_cast<ModernPage &>(page);
}

} // namespace

constexpr KindEntry<SectionEmitter> ModernEmitterEntries[] = {
    { KindPos::Heading,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitHeading(r, o);
        } },
    { KindPos::Paragraph,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitParagraph(r, o);
        } },
    { KindPos::Image,
        [](PageGenerator &p, std::string_view r, std::string &o, bool importFiles) {
            modernPage(p).emitImage(r, o, importFiles);
        } },
    { KindPos::Divider,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitDivider(r, o);
        } },
    { KindPos::Anchor,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitAnchor(r, o);
        } },
    { KindPos::List,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitList(r, o);
        } },
    { KindPos::Index,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitLineIndex(r, o);
        } },
    { KindPos::HTML,
        [](PageGenerator &p, std::string_view r, std::string &o, bool) {
            modernPage(p).emitHtml(r, o);
        } },
    { KindPos::PlaySound,
        [](PageGenerator &p, std::string_view r, std::string &o, bool importFiles) {
            modernPage(p).emitSound(r, o, importFiles);
        } },
};
constexpr SectionEmitters ModernEmitters = tableByKind(ModernEmitterEntries);
static_assert(
    coversEveryKind(ModernEmitterEntries), "the modern style needs an emitter for every kind");

} // namespace stv
