#pragma once
// Turns a project into one HTML page: the skeleton, the lines of every section, the footer.
// Output is Windows-1252 bytes, every line followed by CR LF; nothing typed by the user is
// escaped. Pictures and sounds are copied beside the page through a FileCopier when the
// caller asks for it (Create Web Page), never for the preview.

#include "core/files/FileIO.h"
#include "core/page/FileCopy.h"
#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// The credit line's link.
inline constexpr const char *MakerSite = "https://sitorva.org/";

// Six hexadecimal digits RRGGBB of a colour value laid out 0x00BBGGRR.
std::string htmlColour(long long colour);
// <FONT SIZE="n"> with the low 8 bits of the size.
std::string fontSizeTag(int size);

// A local date and time and the locale's names, passed in so output is reproducible.
struct GenerationTime {
    int year = 2000, month = 1, day = 1; // month 1 to 12
    int hour = 0, minute = 0, second = 0;
    int weekday = 6; // 1 Monday to 7 Sunday
};
struct DateNames {
    std::array<std::string, 7> days
        = { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday" };
    std::array<std::string, 12> months = { "January", "February", "March", "April", "May", "June",
        "July", "August", "September", "October", "November", "December" };
};
// "dddd, dd mmmm, yyyy.  hh:nn:ss", e.g. "Monday, 07 December, 2026.  14:05:09".
std::string formatLastUpdated(const GenerationTime &when, const DateNames &names);
// The local time now, or the instant of SOURCE_DATE_EPOCH when it holds an integer.
GenerationTime generationTimeNow();

struct PageRequest {
    bool importRequested = false; // Create Web Page: true; preview: false
    std::string pageFile; // native path of the page; copies go into its folder
    std::string sourceFolder; // native folder that relative stored paths are copied from
    std::string projectFile; // native path of the project; a copy never replaces it
    GenerationTime when;
    DateNames names;
};

struct PageResult {
    bool ok = false;
    std::string error; // the page could not be written
    std::vector<std::string> copyFailures; // one line per file that could not be copied
};

// One generation run. Holds the state the emitters share while the page is built.
class PageGenerator
{
public:
    PageGenerator(const FavouriteLists &lists, const PageRequest &request, FileCopier &copier);

    // The whole page's bytes.
    std::string buildPage(const Project &project, const PageOptions &options);

    // Each appends its lines (each followed by CR LF) to `out`.
    void emitSections(const std::vector<std::string> &sections, std::string &out, bool importFlag);
    void emitHeading(std::string_view record, std::string &out);
    void emitParagraph(std::string_view record, std::string &out);
    void emitImage(std::string_view record, std::string &out, bool importFlag);
    void emitDivider(std::string_view record, std::string &out);
    void emitAnchor(std::string_view record, std::string &out);
    void emitList(std::string_view record, std::string &out);
    void emitLineIndex(std::string_view record, std::string &out);
    void emitHtml(std::string_view record, std::string &out);
    void emitSound(std::string_view record, std::string &out, bool importFlag);

    // Replaces the colour, link and picture marks of a user's text.
    std::string translateMarks(std::string_view text);
    // Copies a stored path beside the page; the page refers to it by the returned bare name.
    std::string importFile(std::string_view storedPath);

    void setHeadingCounter(unsigned counter)
    {
        m_headingCounter = static_cast<unsigned short>(counter);
    }
    const std::vector<std::string> &copyFailures() const { return m_copyFailures; }

private:
    std::string translatePass(std::string_view text, char letter);

    const FavouriteLists &m_lists;
    const PageRequest &m_request;
    FileCopier &m_copier;
    bool m_importRequested = false;
    unsigned short m_headingCounter = 1;
    std::map<std::string, std::string> m_copied; // destination -> source of this run
    std::vector<std::string> m_copyFailures;
};

// Builds the page and writes it into the sink.
PageResult writePage(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier, ByteSink &sink);
// Writes request.pageFile through AtomicFile. The page is opened and written first, the
// pictures and sounds are copied only when that succeeded, and the page takes its place last.
// A failure gives "Cannot create file %s: " and the reason; the copies that failed are listed
// whatever happened to the page. No copy replaces the project file or the page itself.
PageResult writePageFile(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, FileCopier &copier);

// The page name proposed for a project: its stored page name, else the project's path with
// every ".stv" (any case) of its file name replaced by ".html" (".html" added when there is
// none), else "index.html".
std::string proposedPageName(const std::string &projectFileName, const std::string &pageFileName);

} // namespace stv
