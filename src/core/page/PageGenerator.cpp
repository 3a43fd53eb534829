#include "core/page/PageGenerator.h"

#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace stv
{

namespace
{

constexpr std::string_view CrLf = "\r\n";

void addLine(std::string &out, std::string_view line)
{
    out.append(line);
    out.append(CrLf);
}

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

// <B><I><U><S> for the ticked styles; the closing form has every "<" turned into "</".
std::string styleTags(const std::vector<std::string> &f, int bold)
{
    std::string tags;
    if (flagValue(f[static_cast<std::size_t>(bold)]))
        tags += "<B>";
    if (flagValue(f[static_cast<std::size_t>(bold + 1)]))
        tags += "<I>";
    if (flagValue(f[static_cast<std::size_t>(bold + 2)]))
        tags += "<U>";
    if (flagValue(f[static_cast<std::size_t>(bold + 3)]))
        tags += "<S>";
    return tags;
}
std::string closingTags(std::string_view tags)
{
    std::string out;
    out.reserve(tags.size() + 4);
    for (char c : tags) {
        out += c;
        if (c == '<')
            out += '/';
    }
    return out;
}

void paragraphStart(std::string &out, std::string_view followOn, std::string_view word)
{
    if (flagValue(followOn))
        return;
    out.append("<P ALIGN=").append(word).append(">").append(CrLf);
}

// The colour tag pair of headings and paragraphs: written whenever the field holds text.
void colourPair(std::string_view field, std::string &open, std::string &close)
{
    if (field.empty())
        return;
    open = "<FONT COLOR=\"#" + htmlColour(leadingInt(field)) + "\">";
    close = "</FONT>";
}

const std::string &at(const std::vector<std::string> &f, int index)
{
    return f[static_cast<std::size_t>(index)];
}

bool isLineBreakMarker(std::string_view text, std::size_t pos)
{
    const std::string_view six = text.substr(pos, 6);
    return equalsIgnoreCase(six, "{lf10}") || equalsIgnoreCase(six, "{lf13}");
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string htmlColour(long long colour)
{
    char hex[16];
    std::snprintf(
        hex, sizeof hex, "%06X", static_cast<unsigned>(static_cast<std::uint32_t>(colour)));
    const std::string s(hex);
    return s.substr(4, 2) + s.substr(2, 2) + s.substr(0, 2);
}

std::string fontSizeTag(int size)
{
    return "<FONT SIZE=\"" + std::to_string(static_cast<unsigned>(size) & 0xFFu) + "\">";
}

std::string formatLastUpdated(const GenerationTime &when, const DateNames &names)
{
    auto two = [](int v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d", v);
        return std::string(buf);
    };
    char year[16];
    std::snprintf(year, sizeof year, "%04d", when.year);
    const std::size_t weekday = static_cast<std::size_t>((when.weekday + 6) % 7);
    const std::size_t month = static_cast<std::size_t>((when.month + 11) % 12);
    return names.days[weekday] + ", " + two(when.day) + " " + names.months[month] + ", " + year
        + ".  " + two(when.hour) + ":" + two(when.minute) + ":" + two(when.second);
}

GenerationTime generationTimeNow()
{
    std::time_t now = std::time(nullptr);
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        char *end = nullptr;
        errno = 0;
        const long long value = std::strtoll(epoch, &end, 10);
        if (errno == 0 && end != nullptr && *end == '\0')
            now = static_cast<std::time_t>(value);
    }
    std::tm local {};
    localtime_r(&now, &local);
    GenerationTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.weekday = local.tm_wday == 0 ? 7 : local.tm_wday;
    return t;
}

PageGenerator::PageGenerator(
    const FavouriteLists &lists, const PageRequest &request, FileCopier &copier)
    : m_lists(lists)
    , m_request(request)
    , m_copier(copier)
    , m_importRequested(request.importRequested)
{
}

std::string PageGenerator::importFile(std::string_view storedPath)
{
    const std::string name = fileNamePart(storedPath);
    if (name.empty()) // no file chosen: nothing to copy
        return name;
    std::string from = nativePath(storedPath);
    if (!from.empty() && from[0] != '/' && !m_request.sourceFolder.empty()) {
        const std::string &folder = m_request.sourceFolder;
        from = (folder.back() == '/' ? folder : folder + "/") + from;
    }
    const std::string to = folderPart(m_request.pageFile) + nativePath(name);

    // A picture used twice is copied once; a second, different file of the same name would
    // overwrite the first one the page already refers to, so it is not copied.
    if (const auto it = m_copied.find(to); it != m_copied.end()) {
        if (it->second != from && !sameFile(it->second, from))
            m_copyFailures.push_back("Not copied: " + from + " (another file named "
                + nativePath(name) + " is already copied beside the page)");
        return name;
    }
    m_copied.emplace(to, from);
    const CopyResult result = m_copier.copy(from, to);
    if (result.status == CopyResult::Status::Failed)
        m_copyFailures.push_back(result.error.empty() ? "Cannot copy " + from : result.error);
    return name;
}

std::string PageGenerator::translatePass(std::string_view text, char letter)
{
    const std::vector<std::string> &list = letter == 'c' ? m_lists.colours
        : letter == 'l'                                  ? m_lists.links
                                                         : m_lists.images;
    const std::string closing = letter == 'i' ? std::string() : std::string("{") + letter + "/}";
    std::string out;
    std::size_t i = 0;
    for (;;) {
        std::size_t p = text.find('{', i);
        while (p != std::string_view::npos
            && (p + 1 >= text.size() || lowerAscii(text[p + 1]) != letter))
            p = text.find('{', p + 1);
        if (p == std::string_view::npos)
            break;
        if (out.empty())
            out.reserve(text.size() + text.size() / 4 + 256);
        out.append(text, i, p - i);
        if (!closing.empty() && text.compare(p, 4, closing) == 0) {
            out += letter == 'c' ? "</font>" : "</a>";
            i = p + 4;
            continue;
        }
        // A stored line break marker is never a link mark.
        if (letter == 'l' && isLineBreakMarker(text, p)) {
            out += '{';
            i = p + 1;
            continue;
        }
        const std::size_t q = text.find('}', p);
        if (q != std::string_view::npos && q - p < 7) {
            const int n = leadingInt(text.substr(p + 2, 3));
            if (n >= 0 && static_cast<std::size_t>(n) < list.size()) {
                const std::string &entry = list[static_cast<std::size_t>(n)];
                if (letter == 'c')
                    out.append("<font color=\"")
                        .append(htmlColour(leadingInt(entry)))
                        .append("\">");
                else if (letter == 'l')
                    out.append("<a href=\"").append(entry).append("\">");
                else
                    emitImage(entry, out, m_importRequested);
                // The search goes on after the inserted text, so entries holding marks
                // themselves are never translated again.
                i = q + 1;
                continue;
            }
        }
        out += '{';
        i = p + 1;
    }
    if (i == 0)
        return std::string(text);
    out.append(text, i, std::string_view::npos);
    return out;
}

std::string PageGenerator::translateMarks(std::string_view text)
{
    const std::string coloured = translatePass(text, 'c');
    const std::string linked = translatePass(coloured, 'l');
    return translatePass(linked, 'i');
}

void PageGenerator::emitHeading(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 10);
    const std::string_view align = headingAlign(at(f, field::HeadingAlign));
    const std::string style = styleTags(f, field::HeadingBold);
    std::string colourOpen, colourClose;
    colourPair(at(f, field::HeadingColour), colourOpen, colourClose);
    const std::string level = std::to_string(m_headingCounter);
    out.append("<H").append(level).append(" ALIGN=").append(align).append(">").append(CrLf);
    out.append(colourOpen)
        .append(style)
        .append(fontSizeTag(leadingInt(at(f, field::HeadingSize))))
        .append("<BIG>")
        .append(translateMarks(at(f, field::HeadingText)))
        .append("</BIG></FONT>")
        .append(closingTags(style))
        .append(colourClose)
        .append(CrLf);
    out.append("</H").append(level).append(">").append(CrLf);
    ++m_headingCounter;
}

void PageGenerator::emitParagraph(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 11);
    paragraphStart(out, at(f, field::ParaFollowOn), headingAlign(at(f, field::ParaAlign)));
    const std::string style = styleTags(f, field::ParaBold);
    std::string colourOpen, colourClose;
    colourPair(at(f, field::ParaColour), colourOpen, colourClose);
    std::string text = at(f, field::ParaText);
    replaceAll("{lf13}{lf10}", "<BR>", text);
    const std::string &link = at(f, field::ParaLink);
    out.append(colourOpen).append(style).append(fontSizeTag(leadingInt(at(f, field::ParaSize))));
    if (!link.empty())
        out.append("<A HREF=\"").append(link).append("\">");
    out.append(translateMarks(text));
    if (!link.empty())
        out.append("</A>");
    out.append("</FONT>").append(closingTags(style)).append(colourClose).append(CrLf);
}

void PageGenerator::emitImage(std::string_view record, std::string &out, bool importFlag)
{
    const auto f = splitFields(record, 12);
    paragraphStart(out, at(f, field::ImageFollowOn),
        alignWord(at(f, field::ImageJustify), "LEFT", "CENTER", "RIGHT", ""));
    const std::string &file = at(f, field::ImageFile);
    const std::string source
        = flagValue(at(f, field::ImageImport)) && importFlag ? importFile(file) : file;

    std::string line;
    const std::string &linkType = at(f, field::ImageLinkType);
    const std::string &link = at(f, field::ImageLink);
    const bool linked = linkType != "0" && !link.empty();
    if (linked) {
        const std::string_view prefix = linkType == "2" ? "mailto:" : linkType == "3" ? "#" : "";
        line.append("<A HREF=\"").append(prefix).append(link).append("\">");
    }
    line.append("<IMG SRC=\"").append(source).append("\" ");
    if (const std::string &w = at(f, field::ImageWidth); !w.empty())
        line.append("WIDTH=\"").append(w).append("\" ");
    if (const std::string &h = at(f, field::ImageHeight); !h.empty())
        line.append("HEIGHT=\"").append(h).append("\" ");
    if (const std::string &alt = at(f, field::ImageAltText); !alt.empty())
        line.append("ALT=\"").append(alt).append("\" ");
    static constexpr std::string_view Positions[] = { "ALIGN=\"TOP\" ", "ALIGN=\"MIDDLE\" ",
        "ALIGN=\"BOTTOM\" ", "ALIGN=\"LEFT\" ", "ALIGN=\"RIGHT\" " };
    const std::string &pos = at(f, field::ImagePosition);
    if (pos.size() == 1 && pos[0] >= '0' && pos[0] <= '4')
        line.append(Positions[pos[0] - '0']);
    if (!flagValue(at(f, field::ImageLinkBorder)))
        line.append("Border=\"0\"");
    line.append(">");
    if (linked)
        line.append("</A>");
    addLine(out, line);
}

void PageGenerator::emitDivider(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 5);
    const bool shaded = !flagValue(at(f, field::Divider3D));
    std::string line = "<HR ";
    if (shaded) {
        line.append("noshade ");
        line.append("color=\"#")
            .append(htmlColour(leadingInt(at(f, field::DividerColour))))
            .append("\" ");
    }
    if (const std::string &size = at(f, field::DividerThickness); size != "1")
        line.append("size=\"").append(size).append("\" ");
    if (const std::string &width = at(f, field::DividerWidth); width != "100")
        line.append("width=\"").append(width).append("%\" ");
    line.append(">");
    addLine(out, "<P>");
    addLine(out, line);
    addLine(out, "<P>");
}

void PageGenerator::emitAnchor(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 4);
    if (!flagValue(at(f, field::AnchorFollowOn)))
        addLine(out, "<P>");
    out.append("<A NAME=\"")
        .append(at(f, field::AnchorName))
        .append("\"><!-- -->")
        .append(at(f, field::AnchorText))
        .append("</A>")
        .append(CrLf);
}

void PageGenerator::emitList(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 18);
    const bool numbered = leadingInt(at(f, field::ListType)) != 0;
    const int size = leadingInt(at(f, field::ListSize));
    const int colour = leadingInt(at(f, field::ListColour));
    const std::string sizeOpen = size != 2 ? fontSizeTag(size) : std::string();
    const std::string_view sizeClose = size != 2 ? "</FONT>" : "";
    const std::string colourOpen
        = colour != 0 ? "<FONT COLOR=\"#" + htmlColour(colour) + "\">" : std::string();
    const std::string_view colourClose = colour != 0 ? "</FONT>" : "";

    addLine(out, numbered ? "<OL>" : "<UL>");
    for (int k = 1; k <= field::ListRows; ++k) {
        const std::string &text = at(f, field::listText(k));
        const std::string &link = at(f, field::listLink(k));
        if (text.empty())
            continue;
        out.append("<LI> ").append(colourOpen).append(sizeOpen);
        if (!link.empty())
            out.append("<A HREF=\"").append(link).append("\">");
        out.append(translateMarks(text));
        if (!link.empty())
            out.append("</A>");
        out.append(sizeClose).append(colourClose).append(CrLf);
    }
    addLine(out, numbered ? "</OL>" : "</UL>");
}

void PageGenerator::emitLineIndex(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 9);
    paragraphStart(out, at(f, field::IndexFollowOn), indexAlign(at(f, field::IndexAlign)));
    const std::vector<std::string> lines = splitLines(unescapeLineBreaks(at(f, field::IndexLines)));
    const std::string style = styleTags(f, field::IndexBold);
    out.append(fontSizeTag(leadingInt(at(f, field::IndexSize)))).append(style);
    if (lines.size() >= 2) {
        std::string label;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i % 2 == 0) {
                label = translateMarks(lines[i]);
                continue;
            }
            out.append("<A HREF=\"").append(lines[i]).append("\">").append(label).append("</A>");
            if (i + 1 < lines.size())
                out.append(" | ");
        }
    }
    out.append(closingTags(style)).append("</Font>").append(CrLf);
}

void PageGenerator::emitHtml(std::string_view record, std::string &out)
{
    const auto f = splitFields(record, 2);
    addLine(out, unescapeLineBreaks(at(f, field::HTMLCode)));
}

void PageGenerator::emitSound(std::string_view record, std::string &out, bool importFlag)
{
    const auto f = splitFields(record, 7);
    paragraphStart(out, at(f, field::SoundFollowOn), indexAlign(at(f, field::SoundAlign)));
    const std::string &file = at(f, field::SoundFile);
    // The section's own "&Import Sound File" box decides, as an image's box does.
    const std::string source
        = importFlag && flagValue(at(f, field::SoundImport)) ? importFile(file) : file;
    out.append("<EMBED SRC=\"")
        .append(source)
        .append("\" ")
        .append(flagValue(at(f, field::SoundAutoStart)) ? "AUTOSTART=\"True\"" : "")
        .append(" ")
        .append(flagValue(at(f, field::SoundHidden)) ? "HIDDEN=\"True\"" : "")
        .append(">")
        .append(CrLf);
}

void PageGenerator::emitSections(
    const std::vector<std::string> &sections, std::string &out, bool importFlag)
{
    for (const std::string &record : sections) {
        std::size_t cursor = 1;
        const std::string kind = nextField(record, cursor);
        if (kind == "Heading")
            emitHeading(record, out);
        else if (kind == "Paragraph")
            emitParagraph(record, out);
        else if (kind == "Image")
            emitImage(record, out, importFlag);
        else if (kind == "Divider")
            emitDivider(record, out);
        else if (kind == "Anchor")
            emitAnchor(record, out);
        else if (kind == "List")
            emitList(record, out);
        else if (kind == "Index")
            emitLineIndex(record, out);
        else if (kind == "HTML")
            emitHtml(record, out);
        else if (kind == "PlaySound")
            emitSound(record, out, importFlag);
    }
}

std::string PageGenerator::buildPage(const Project &project, const PageOptions &options)
{
    m_headingCounter = 1;
    std::string out;
    out.reserve(1024 + project.sections.size() * 96);
    addLine(out, "<HTML>");
    addLine(out, "<HEAD>");
    addLine(out, "<!-- Created with Sitorva 98 -->");
    if (!project.headCode.empty())
        addLine(out, project.headCode);
    addLine(out, "<TITLE>" + project.pageTitle + "</TITLE>");
    addLine(out, "</HEAD>");

    const bool importFiles = m_importRequested && project.importBackgroundImage;
    if (project.backgroundImage.empty())
        addLine(out, "<BODY BGCOLOR=#" + htmlColour(project.backgroundColour) + ">");
    else
        addLine(out,
            "<BODY BACKGROUND=\""
                + (importFiles ? importFile(project.backgroundImage) : project.backgroundImage)
                + "\">");

    emitSections(project.sections, out, importFiles);

    const std::string footerColour = options.updateBlack ? "\"#000000\"" : "\"#ffffff\"";
    if (options.siteLastUpdated) {
        addLine(out, "<P Align=Center>");
        addLine(out,
            "<FONT SIZE=4 color=" + footerColour + "><B>Site Last Updated "
                + formatLastUpdated(m_request.when, m_request.names) + "</B></FONT>");
    }
    addLine(out, "<P Align=Center>");
    addLine(out,
        "<Font Color=" + footerColour + "><SMALL><SMALL>Created with <A HREF=\"" + MakerSite
            + "\">Sitorva 98</A></SMALL></SMALL></Font>");
    addLine(out, "</BODY></HTML>");
    return out;
}

PageResult writePage(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier, ByteSink &sink)
{
    PageGenerator generator(lists, request, copier);
    const std::string page = generator.buildPage(project, options);
    PageResult result;
    result.copyFailures = generator.copyFailures();
    result.ok = sink.write(page);
    if (!result.ok)
        result.error = sink.error();
    return result;
}

namespace
{

// Takes the copies that the page asks for without making them, so that they are made only
// once the page itself has been written.
class CopyList : public FileCopier
{
public:
    CopyResult copy(const std::string &from, const std::string &to) override
    {
        m_copies.emplace_back(from, to);
        return {};
    }
    const std::vector<std::pair<std::string, std::string>> &copies() const { return m_copies; }

private:
    std::vector<std::pair<std::string, std::string>> m_copies;
};

// Why a copy must not go to `to`, or nothing when it may.
std::string protectedDestination(const PageRequest &request, const std::string &to)
{
    if (!request.projectFile.empty()
        && (to == request.projectFile || sameFile(to, request.projectFile)))
        return "it would replace the project file " + request.projectFile;
    if (to == request.pageFile || sameFile(to, request.pageFile))
        return "it would replace the page itself";
    return {};
}

} // namespace

PageResult writePageFile(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier)
{
    PageResult result;
    AtomicFile file(request.pageFile);
    const auto cannotCreate = [&] {
        result.ok = false;
        result.error = "Cannot create file " + request.pageFile + ": " + file.reason();
        return result;
    };
    // The page first: when it cannot be written, nothing is copied.
    if (!file.open())
        return cannotCreate();
    CopyList wanted;
    result = writePage(project, lists, options, request, wanted, file);
    if (!result.ok || !file.sync())
        return cannotCreate();

    for (const auto &[from, to] : wanted.copies()) {
        if (const std::string why = protectedDestination(request, to); !why.empty()) {
            result.copyFailures.push_back("Not copied: " + from + " (" + why + ")");
            continue;
        }
        const CopyResult copied = copier.copy(from, to);
        if (copied.status == CopyResult::Status::Failed)
            result.copyFailures.push_back(
                copied.error.empty() ? "Cannot copy " + from : copied.error);
    }
    if (!file.commit())
        return cannotCreate();
    return result;
}

std::string proposedPageName(const std::string &projectFileName, const std::string &pageFileName)
{
    if (!pageFileName.empty())
        return pageFileName;
    if (projectFileName.empty())
        return "index.html";
    // Only the file's own name changes: a folder named "x.stv" stays what it is, and a
    // project without ".stv" in its name gets ".html" added instead of proposing itself.
    const std::string folder = folderPart(projectFileName);
    std::string name = fileNamePart(projectFileName);
    if (findText(".stv", name) != 0)
        replaceAll(".stv", ".html", name);
    else
        name += ".html";
    return folder + name;
}

} // namespace stv
