#pragma once
// Turns a project into one HTML page: the skeleton, the lines of every section, the footer.
// Output is Windows-1252 bytes, every line followed by CR LF; nothing typed by the user is
// escaped. Pictures and sounds are copied beside the page through a FileCopier when the
// caller asks for it (Create Web Page), never for the preview.

#include "core/files/FileIO.h"
#include "core/files/MediaType.h"
#include "core/page/ClassicEmitters.h"
#include "core/page/FileCopy.h"
#include "core/page/GenerationTime.h"
#include "core/page/PicturePreparer.h"
#include "core/page/SectionEmitter.h"
#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"
#include "core/text/TextTools.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// The credit line's link.
inline constexpr const char *MakerSite = "https://sitorva.org/";

// Every line of a page ends so.
inline constexpr std::string_view CrLf = "\r\n";
// The line followed by CR LF.
void addLine(std::string &out, std::string_view line);
// The number's decimal digits.
void appendNumber(std::string &out, unsigned value);
// Six hexadecimal digits RRGGBB of a colour value laid out 0x00BBGGRR.
std::string htmlColour(long long colour);
void appendHtmlColour(std::string &out, long long colour);
// <FONT SIZE="n"> with the low 8 bits of the size.
std::string fontSizeTag(int size);
void appendFontSizeTag(std::string &out, int size);

struct PageRequest {
    bool importRequested = false; // Create Web Page: true; preview: false
    std::string pageFile; // native path of the page; copies go into its folder
    std::string sourceFolder; // native folder that relative stored paths are copied from
    std::string projectFile; // native path of the project; a copy never replaces it
    // Pictures (images, picture marks, the background) are made ready for the web through
    // this before they are copied; without it they are copied byte for byte.
    PicturePreparer *webReadyPictures = nullptr;
    GenerationTime when;
    DateNames names;
    // The preview finds each section by a comment before its lines ("<!--stv-section N-->",
    // N counted from 0); comments change nothing a browser shows. Never in a written page.
    bool sectionMarks = false;
};

// Create Web Page's request for the project at projectFile (native; empty for a project never
// saved): the page written to pageFile and dated now, the files copied beside it, stored
// relative paths read from the project's folder (the working folder for a project without
// one, or never saved).
PageRequest createPageRequest(const std::string &pageFile, const std::string &projectFile);

// The comment that starts section `position` when PageRequest::sectionMarks is set.
inline constexpr std::string_view SectionMarkStart = "<!--stv-section ";
void appendSectionMark(std::string &out, std::size_t position);

// A page written, with one line per file that could not be copied beside it. When the page
// itself could not be written, the failure names those files too.
struct PageWritten {
    std::vector<std::string> copyFailures;
};
using PageResult = Result<PageWritten>;

// A file copied beside the page: the name the page refers to it by, and for a picture made
// ready for the web its pixel size (0 when unknown).
struct ImportedPicture {
    std::string name;
    int width = 0;
    int height = 0;
};

// Section records in page order: a project's list, or the records of a project file, read
// as the page is written.
class SectionRecords
{
public:
    SectionRecords(const std::vector<std::string> &list) // implicit: a list is records
        : m_list(&list)
    {
    }
    explicit SectionRecords(ProjectFile &file)
        : m_file(&file)
    {
    }
    // Calls f(record) for each record in order until f returns false; false when it did, or
    // when the project file could not be read to its end (error() then says why).
    template <class F>
    bool forEach(F &&f) const
    {
        if (m_list != nullptr) {
            for (const std::string &record : *m_list)
                if (!f(std::string_view(record)))
                    return false;
            return true;
        }
        for (std::string_view record; m_file->nextRecord(record);)
            if (!f(record))
                return false;
        return m_file->error().empty();
    }
    std::string error() const { return m_file != nullptr ? m_file->error() : std::string(); }

private:
    const std::vector<std::string> *m_list = nullptr;
    ProjectFile *m_file = nullptr;
};

// One generation run. Holds the state the emitters share while the page is built.
class PageGenerator
{
public:
    // The page style is its emitters: one per kind, ClassicEmitters unless told otherwise.
    PageGenerator(const FavouriteLists &lists, const PageRequest &request, FileCopier &copier,
        const SectionEmitters &emitters = ClassicEmitters);

    // The whole page's bytes.
    std::string buildPage(const Project &project, const PageOptions &options);
    // Writes the page of the header's values and the records into the sink in blocks of
    // PageBlockSize bytes, so the page is never held whole, nor a section's expanded text:
    // marks are expanded into the block, which goes to the sink whenever it is full. False
    // when the sink refused.
    bool writePage(
        const Project &header, SectionRecords records, const PageOptions &options, ByteSink &sink);
    static constexpr std::size_t PageBlockSize = 1 << 18;
    // How much of a text the mark passes take at a time when its marks stand close.
    static constexpr std::size_t MarkSlice = 1 << 16;

    // Each appends its lines (each followed by CR LF) to `out`: the records in order, or one
    // record by its kind's emitter (nothing for a kind this program does not know).
    void emitSections(SectionRecords records, std::string &out, bool importFlag);
    void emitRecord(std::string_view record, std::string &out, bool importFlag);

    // What emitters share.
    // Replaces the colour, link and picture marks of a user's text.
    std::string translateMarks(std::string_view text);
    // The same, appended to `out`; a text without marks is copied once and nothing else.
    void appendMarks(std::string_view text, std::string &out);
    // A paragraph's text: every "{lf13}{lf10}" (any case) as <BR>, then its marks replaced.
    void appendParagraphText(std::string_view text, std::string &out);
    // The marks replaced by the colour, link and picture passes one after another, as
    // appendMarks must give them however it finds them; for tests that compare the two.
    std::string translateMarksInPasses(std::string_view text);
    // Copies a stored path beside the page; the page refers to it by the returned bare name.
    // `wanted` is what the file must be for the copy to be made (see checkCompanionFile).
    std::string importFile(std::string_view storedPath, MediaKind wanted = MediaKind::Picture);
    // The same for a picture, made ready for the web first when the request asks for it.
    ImportedPicture importPicture(std::string_view storedPath);
    // What the copy to `destination` was asked for: the file the project names (before any
    // preparation) and what it must be; empty when none was.
    struct WantedCopy {
        std::string source;
        MediaKind wanted = MediaKind::Other;
    };
    WantedCopy wantedCopy(const std::string &destination) const;
    // The level of the next heading: 1 for the page's first, then one more each time.
    unsigned nextHeadingNumber() { return m_headingCounter++; }
    // Working texts an emitter may clear and fill, reused from record to record so that a
    // large page does not allocate for each. Neither holds anything between two records.
    struct EmitterBuffers {
        std::string text;
        std::string label;
    };
    EmitterBuffers &buffers() { return m_buffers; }

    const std::vector<std::string> &copyFailures() const { return m_copyFailures; }

private:
    std::size_t translateMarkAt(
        std::string_view text, std::size_t p, char letter, std::string &out);
    std::size_t markPass(std::string_view text, char letter, bool last, std::string &out);
    void feedPass(int stage, std::string_view input, bool last, std::string &out);
    // Sends the page's block to the sink when `out` is that block and it is full.
    void pageGrew(std::string &out);
    void appendMarksApart(
        std::string_view text, const std::vector<std::size_t> &braces, std::string &out);
    void appendMarksInPasses(std::string_view text, std::string &out);
    ImportedPicture importAs(
        std::string_view storedPath, PicturePreparer *pictures, MediaKind wanted);
    void pageStart(const Project &header, std::string &out, bool &importFiles);
    void pageEnd(const PageOptions &options, std::string &out);

    const FavouriteLists &m_lists;
    const SectionEmitters &m_emitters;
    const PageRequest &m_request;
    FileCopier &m_copier;
    bool m_importRequested = false;
    bool m_linkEntryHoldsBrace = false;
    std::string m_colourDigits; // the colour list's entries as RRGGBB, six digits each
    unsigned short m_headingCounter = 1;
    struct CopiedFile {
        std::string source;
        MediaKind wanted = MediaKind::Picture;
        int width = 0;
        int height = 0;
    };
    std::map<std::string, CopiedFile> m_copied; // by destination, in this run
    std::vector<std::string> m_copyFailures;
    ByteSink *m_sink = nullptr; // while writePage runs
    std::string *m_page = nullptr; // the block of the page being written
    bool m_sinkFailed = false;
    // Working texts reused from record to record: the slices the first two mark passes wrote,
    // what each pass keeps back for the next slice, and a paragraph with its breaks replaced.
    std::string m_passText[2];
    std::string m_carried[3];
    std::string m_text;
    EmitterBuffers m_buffers;
    std::vector<std::size_t> m_braces; // where the "{" of the text at hand stand
};

// Builds the page and writes it into the sink.
PageResult writePage(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier, ByteSink &sink);
// Writes request.pageFile through AtomicFile; a symbolic link at that path is replaced by the
// page, never written through. The page is opened and written first, the pictures and sounds
// are copied only when that succeeded, and the page takes its place last. A failure gives
// "Cannot create file %s: " and the reason; the copies that failed or were refused are listed
// whatever happened to the page. Only files that checkCompanionFile allows are copied (a
// picture where a picture is shown, a sound where a sound is played), and no copy replaces
// the project file or the page itself.
PageResult writePageFile(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier);
// The same for a project file read by ProjectFile: its records go from the file to the page
// as they are read, never held whole.
PageResult writePageFile(ProjectFile &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier);

// The page name proposed for a project: its stored page name, else the project's path with
// every ".stv" (any case) of its file name replaced by ".html" (".html" added when there is
// none), else "index.html".
std::string proposedPageName(const std::string &projectFileName, const std::string &pageFileName);

} // namespace stv
