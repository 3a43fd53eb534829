#include "core/page/PageGenerator.h"

#include "core/page/ClassicEmitters.h"
#include "core/page/CompanionFiles.h"
#include "core/page/ModernPage.h"
#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"

#include <cstdint>
#include <functional>
#include <map>

namespace stv
{

using namespace std::string_view_literals;

void addLine(std::string &out, std::string_view line)
{
    out.append(line);
    out.append(CrLf);
}

void appendNumber(std::string &out, unsigned value)
{
    char digits[16];
    char *end = digits + sizeof digits;
    char *p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(p, static_cast<std::size_t>(end - p));
}

std::string htmlColour(long long colour)
{
    std::string out;
    appendHtmlColour(out, colour);
    return out;
}

// The value's hexadecimal digits, at least six, then characters 5-6, 3-4 and 1-2 of them:
// so a value of more than six digits gives its first six, swapped.
void appendHtmlColour(std::string &out, long long colour)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    auto value = static_cast<std::uint32_t>(colour);
    char digits[8];
    int count = 0;
    for (std::uint32_t v = value; v != 0; v >>= 4)
        ++count;
    count = count < 6 ? 6 : count;
    for (int i = count - 1; i >= 0; --i, value >>= 4)
        digits[i] = Hex[value & 0xFu];
    const char swapped[6] = { digits[4], digits[5], digits[2], digits[3], digits[0], digits[1] };
    out.append(swapped, 6);
}

std::string fontSizeTag(int size)
{
    std::string out;
    appendFontSizeTag(out, size);
    return out;
}

void appendFontSizeTag(std::string &out, int size)
{
    out.append("<FONT SIZE=\""sv);
    appendNumber(out, static_cast<unsigned>(size) & 0xFFu);
    out.append("\">"sv);
}

PageGenerator::PageGenerator(const FavouriteLists &lists, const PageRequest &request,
    FileCopier &copier, const SectionEmitters &emitters)
    : m_lists(lists)
    , m_emitters(emitters)
    , m_request(request)
    , m_copier(copier)
    , m_importRequested(request.importRequested)
{
    for (const std::string &link : lists.links)
        m_linkEntryHoldsBrace = m_linkEntryHoldsBrace || link.find('{') != std::string::npos;
    for (const std::string &colour : lists.colours)
        appendHtmlColour(m_colourDigits, leadingInt(colour));
}

PageGenerator::WantedCopy PageGenerator::wantedCopy(const std::string &destination) const
{
    const auto it = m_copied.find(destination);
    if (it == m_copied.end())
        return {};
    return { it->second.source, it->second.wanted };
}

std::string PageGenerator::importFile(std::string_view storedPath, MediaKind wanted)
{
    return importAs(storedPath, nullptr, wanted).name;
}

ImportedPicture PageGenerator::importPicture(std::string_view storedPath)
{
    return importAs(storedPath, m_request.webReadyPictures, MediaKind::Picture);
}

ImportedPicture PageGenerator::importAs(
    std::string_view storedPath, PicturePreparer *pictures, MediaKind wanted)
{
    ImportedPicture imported { fileNamePart(storedPath), 0, 0 };
    if (imported.name.empty()) // no file chosen: nothing to copy
        return imported;
    std::string from = nativePathIn(storedPath, m_request.sourceFolder);
    const std::string to = folderPart(m_request.pageFile) + nativePath(imported.name);

    // A picture used twice is copied once; a second, different file of the same name would
    // overwrite the first one the page already refers to, so it is not copied.
    if (const auto it = m_copied.find(to); it != m_copied.end()) {
        if (it->second.source != from && !sameFile(it->second.source, from))
            m_copyFailures.push_back("Not copied: " + from + " (another file named "
                + nativePath(imported.name) + " is already copied beside the page)");
        imported.width = it->second.width;
        imported.height = it->second.height;
        return imported;
    }
    CopiedFile &copied = m_copied[to];
    copied.source = from;
    copied.wanted = wanted;
    // A picture made ready for the web is copied from where it was made; one that is no
    // picture is not copied at all.
    if (pictures != nullptr) {
        const Result<ReadyPicture> ready = pictures->prepare(from);
        if (!ready) {
            m_copyFailures.push_back("Not copied: " + from + " (" + ready.error() + ")");
            return imported;
        }
        from = ready.value().file;
        imported.width = copied.width = ready.value().width;
        imported.height = copied.height = ready.value().height;
    }
    if (const CopyResult result = m_copier.copy(from, to); !result)
        m_copyFailures.push_back(result.error().empty() ? "Cannot copy " + from : result.error());
    return imported;
}

void PageGenerator::emitRecord(std::string_view record, std::string &out, bool importFlag)
{
    const std::size_t start = record.find(FieldSep);
    if (start == std::string_view::npos)
        return;
    const std::size_t end = record.find(FieldSep, start + 1);
    if (end == std::string_view::npos)
        return;
    const int kind = kindPosition(record.substr(start + 1, end - start - 1));
    if (kind >= 0)
        m_emitters[static_cast<std::size_t>(kind)](*this, record, out, importFlag);
}

void PageGenerator::emitSections(SectionRecords records, std::string &out, bool importFlag)
{
    records.forEach([&](std::string_view record) {
        emitRecord(record, out, importFlag);
        return true;
    });
}

void PageGenerator::pageStart(const Project &header, std::string &out, bool &importFiles)
{
    m_headingCounter = 1;
    addLine(out, "<HTML>");
    addLine(out, "<HEAD>");
    addLine(out, "<!-- Created with Sitorva 98 -->");
    if (!header.headCode.empty())
        addLine(out, header.headCode);
    out.append("<TITLE>"sv).append(header.pageTitle).append("</TITLE>"sv).append(CrLf);
    addLine(out, "</HEAD>");

    importFiles = m_importRequested && header.importBackgroundImage;
    if (header.backgroundImage.empty()) {
        out.append("<BODY BGCOLOR=#"sv);
        appendHtmlColour(out, header.backgroundColour);
        out.append(">"sv).append(CrLf);
    } else {
        out.append("<BODY BACKGROUND=\""sv)
            .append(
                importFiles ? importPicture(header.backgroundImage).name : header.backgroundImage)
            .append("\">"sv)
            .append(CrLf);
    }
}

void PageGenerator::pageEnd(const PageOptions &options, std::string &out)
{
    const std::string_view footerColour = options.updateBlack ? "\"#000000\"" : "\"#ffffff\"";
    if (options.siteLastUpdated) {
        addLine(out, "<P Align=Center>");
        out.append("<FONT SIZE=4 color="sv)
            .append(footerColour)
            .append("><B>Site Last Updated "sv)
            .append(formatLastUpdated(m_request.when, m_request.names))
            .append("</B></FONT>"sv)
            .append(CrLf);
    }
    addLine(out, "<P Align=Center>");
    out.append("<Font Color="sv)
        .append(footerColour)
        .append("><SMALL><SMALL>Created with <A HREF=\""sv)
        .append(MakerSite)
        .append("\">Sitorva 98</A></SMALL></SMALL></Font>"sv)
        .append(CrLf);
    addLine(out, "</BODY></HTML>");
}

std::string PageGenerator::buildPage(const Project &project, const PageOptions &options)
{
    std::string out;
    out.reserve(1024 + project.sections.size() * 96);
    bool importFiles = false;
    pageStart(project, out, importFiles);
    emitSections(project.sections, out, importFiles);
    pageEnd(options, out);
    return out;
}

void PageGenerator::pageGrew(std::string &out)
{
    if (&out != m_page || out.size() < PageBlockSize)
        return;
    if (!m_sinkFailed && !m_sink->write(out))
        m_sinkFailed = true;
    out.clear();
}

bool PageGenerator::writePage(
    const Project &header, SectionRecords records, const PageOptions &options, ByteSink &sink)
{
    std::string out;
    out.reserve(PageBlockSize + PageBlockSize / 2);
    m_sink = &sink;
    m_page = &out;
    m_sinkFailed = false;
    bool importFiles = false;
    pageStart(header, out, importFiles);
    std::size_t position = 0;
    const bool written = records.forEach([&](std::string_view record) {
        if (m_request.sectionMarks)
            appendSectionMark(out, position++);
        emitRecord(record, out, importFiles);
        pageGrew(out);
        return !m_sinkFailed;
    });
    m_sink = nullptr;
    m_page = nullptr;
    if (!written || m_sinkFailed)
        return false;
    pageEnd(options, out);
    return sink.write(out);
}

namespace
{

// The page's failure, with the files that could not be copied either.
Failure pageFailure(std::string error, const std::vector<std::string> &copyFailures)
{
    if (!copyFailures.empty())
        error += "\n\nThese files could not be copied either:\n";
    for (const std::string &line : copyFailures)
        error += "\n" + line;
    return fail(std::move(error));
}

// Runs the page style's generator into the sink; `afterwards` sees the generator before it
// goes (what it asked to copy, and as what).
PageResult runGenerator(const Project &header, SectionRecords records, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier, ByteSink &sink,
    const std::function<void(const PageGenerator &)> &afterwards = {})
{
    bool written = false;
    std::vector<std::string> copyFailures;
    const auto run = [&](auto &page) {
        written = page.writePage(header, records, options, sink);
        copyFailures = page.copyFailures();
        if (afterwards)
            afterwards(page);
    };
    if (options.style == PageStyle::Modern) {
        ModernPage page(lists, request, copier);
        run(page);
    } else {
        PageGenerator page(lists, request, copier);
        run(page);
    }
    if (!written)
        return pageFailure(records.error().empty() ? sink.error() : records.error(), copyFailures);
    return PageWritten { std::move(copyFailures) };
}

// Takes the copies that the page asks for without making them, so that they are made only
// once the page itself has been written.
class CopyList : public FileCopier
{
public:
    CopyResult copy(const std::string &from, const std::string &to) override
    {
        m_copies.emplace_back(from, to);
        return CopyDone::Copied;
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

PageResult writePageFileFrom(const Project &header, SectionRecords records,
    const FavouriteLists &lists, const PageOptions &options, const PageRequest &request,
    FileCopier &copier)
{
    std::vector<std::string> copyFailures;
    // A link at the page's place (as an archive may bring) is replaced, never followed.
    AtomicFile file(request.pageFile, AtomicFile::Links::Replace);
    const auto cannotCreate = [&] {
        return pageFailure(
            "Cannot create file " + request.pageFile + ": " + file.reason(), copyFailures);
    };
    // The page first: when it cannot be written, nothing is copied.
    if (!file.open())
        return cannotCreate();
    CopyList wanted;
    std::map<std::string, PageGenerator::WantedCopy> asked; // by destination
    PageResult written = runGenerator(header, records, lists, options, request, wanted, file,
        [&](const PageGenerator &generator) {
            for (const auto &copy : wanted.copies())
                asked[copy.second] = generator.wantedCopy(copy.second);
        });
    if (!written && !records.error().empty())
        return written; // the project could not be read to its end: the old page stays
    if (!written || !file.sync())
        return cannotCreate();
    copyFailures = std::move(written.value().copyFailures);

    for (const auto &[from, to] : wanted.copies()) {
        if (const std::string why = protectedDestination(request, to); !why.empty()) {
            copyFailures.push_back("Not copied: " + from + " (" + why + ")");
            continue;
        }
        // The file the project names is checked, not a picture made from it.
        const PageGenerator::WantedCopy &copy = asked[to];
        const Result<MediaType> allowed
            = checkCompanionFile(copy.source.empty() ? from : copy.source, copy.wanted,
                { request.projectFile, std::string() });
        if (!allowed) {
            copyFailures.push_back(allowed.error());
            continue;
        }
        if (const CopyResult copied = copier.copy(from, to); !copied)
            copyFailures.push_back(copied.error().empty() ? "Cannot copy " + from : copied.error());
    }
    if (!file.commit())
        return cannotCreate();
    return PageWritten { std::move(copyFailures) };
}

} // namespace

PageRequest createPageRequest(const std::string &pageFile, const std::string &projectFile)
{
    PageRequest request;
    request.importRequested = true;
    request.pageFile = pageFile;
    request.projectFile = projectFile;
    if (!projectFile.empty()) {
        const std::string folder = folderPart(projectFile);
        request.sourceFolder = folder.empty() ? std::string("./") : folder;
    }
    request.when = generationTimeNow();
    request.names = systemDateNames();
    return request;
}

void appendSectionMark(std::string &out, std::size_t position)
{
    out.append(SectionMarkStart);
    appendNumber(out, static_cast<unsigned>(position));
    out.append("-->");
}

PageResult writePage(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier, ByteSink &sink)
{
    return runGenerator(project, project.sections, lists, options, request, copier, sink);
}

PageResult writePageFile(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier)
{
    return writePageFileFrom(project, project.sections, lists, options, request, copier);
}

PageResult writePageFile(ProjectFile &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier)
{
    return writePageFileFrom(
        project.header(), SectionRecords(project), lists, options, request, copier);
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
