#include "core/check/PageChecker.h"

#include "core/check/ColourContrast.h"
#include "core/check/PictureFacts.h"
#include "core/files/MediaType.h"
#include "core/page/MarkScan.h"
#include "core/project/Records.h"
#include "core/project/SectionKinds.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

namespace stv
{

namespace
{

using namespace std::string_view_literals;

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(text[i]) != prefix[i])
            return false;
    return true;
}

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// The colour a page shows for a stored value: the six digits the generator writes, read back.
int writtenColour(long long value)
{
    const std::string digits = htmlColour(value);
    const int rgb = static_cast<int>(std::stoul(digits, nullptr, 16));
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

std::string colourText(int colour)
{
    char text[8];
    std::snprintf(
        text, sizeof text, "#%02X%02X%02X", colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    return text;
}

std::string sizeText(std::uint64_t bytes)
{
    char text[32];
    if (bytes >= (std::uint64_t(1) << 20))
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1 << 20));
    else
        std::snprintf(
            text, sizeof text, "%llu KB", static_cast<unsigned long long>((bytes + 1023) / 1024));
    return text;
}

// What the check learns of one file, read once however many sections use it.
struct FileFacts {
    std::string error; // it cannot be read: why
    bool missing = false;
    MediaKind kind = MediaKind::Other;
    PictureFacts picture;
};

// The attribute values of name= and id= in a block of HTML: the anchors it writes.
void htmlAnchors(std::string_view code, const std::function<void(std::string)> &found)
{
    for (std::size_t p = 0; p < code.size(); ++p) {
        std::size_t length = 0;
        if (startsWithNoCase(code.substr(p), "name="))
            length = 5;
        else if (startsWithNoCase(code.substr(p), "id="))
            length = 3;
        if (length == 0 || p == 0
            || std::string_view(" \t\r\n").find(code[p - 1]) == std::string_view::npos)
            continue;
        std::size_t start = p + length;
        std::size_t end = 0;
        if (start < code.size() && (code[start] == '"' || code[start] == '\'')) {
            end = code.find(code[start], start + 1);
            ++start;
        } else {
            end = code.find_first_of(" \t\r\n>", start);
        }
        if (end == std::string_view::npos)
            end = code.size();
        if (end > start)
            found(std::string(code.substr(start, end - start)));
        p = end;
    }
}

class PageCheck
{
public:
    PageCheck(
        const FavouriteLists &lists, const std::string &sourceFolder, bool picturesMadeForTheWeb)
        : m_lists(lists)
        , m_sourceFolder(sourceFolder)
        , m_picturesMadeForTheWeb(picturesMadeForTheWeb)
    {
        for (const std::string &colour : lists.colours)
            m_listColours.push_back(writtenColour(leadingInt(colour)));
    }

    void checkHeader(const Project &header)
    {
        if (isBlank(header.pageTitle))
            add("empty-title",
                "the page has no title: browsers and search results show its "
                "file name instead");
        m_background = header.backgroundColour & 0xFFFFFF;
        m_backgroundFromPicture = false;
        // The page copies its files only when the project imports them at all.
        m_picturesMadeForTheWeb = m_picturesMadeForTheWeb && header.importBackgroundImage;
        if (!header.backgroundImage.empty()) {
            checkPicture(
                header.backgroundImage, "the background picture ", m_picturesMadeForTheWeb);
            const FileFacts &facts = factsOf(header.backgroundImage);
            m_background = facts.error.empty() && facts.kind == MediaKind::Picture
                ? averageColour(resolve(header.backgroundImage))
                : std::nullopt;
            m_backgroundFromPicture = true;
        }
    }

    void checkRecord(std::string_view record);

    // What a visitor could meet in a section of each kind; fields from field::Kind on.
    void checkHeading(std::string_view, const std::string_view *f)
    {
        checkMarks(f[field::HeadingText]);
        m_textColours.push_back(sectionColour(f[field::HeadingColour]));
    }
    void checkParagraph(std::string_view, const std::string_view *f)
    {
        checkMarks(f[field::ParaText]);
        m_textColours.push_back(sectionColour(f[field::ParaColour]));
        addLink(f[field::ParaLink]);
    }
    void checkImageSection(std::string_view record, const std::string_view *)
    {
        checkImage(record, "");
    }
    // A divider shows no text, file or link.
    void checkDivider(std::string_view, const std::string_view *) { }
    void checkAnchor(std::string_view, const std::string_view *f)
    {
        addAnchor(std::string(f[field::AnchorName]));
        if (!f[field::AnchorText].empty())
            m_textColours.push_back(0);
    }
    void checkList(std::string_view, const std::string_view *f);
    void checkIndex(std::string_view, const std::string_view *f);
    void checkHtml(std::string_view, const std::string_view *f)
    {
        htmlAnchors(f[field::HTMLCode], [this](std::string name) { addAnchor(name); });
    }
    void checkSound(std::string_view, const std::string_view *f);

    PageReport finish()
    {
        for (const auto &[section, name] : m_anchorLinks) {
            if (m_anchors.count(name) != 0)
                continue;
            m_report.problems.push_back({ section, "missing-anchor",
                "the link to \"#" + name + "\" goes nowhere: no anchor of the page is named \""
                    + name + "\"" });
        }
        std::stable_sort(m_report.problems.begin(), m_report.problems.end(),
            [](const Problem &a, const Problem &b) { return a.section < b.section; });
        return std::move(m_report);
    }

private:
    void add(std::string code, std::string message)
    {
        m_report.problems.push_back({ m_section, std::move(code), std::move(message) });
    }

    std::string resolve(std::string_view stored) const
    {
        return nativePathIn(stored, m_sourceFolder);
    }

    const FileFacts &factsOf(std::string_view stored)
    {
        const std::string path = resolve(stored);
        const auto found = m_files.find(path);
        if (found != m_files.end())
            return found->second;
        FileFacts facts;
        const Result<std::string> head = readFileHead(path, 64 * 1024);
        if (!head.ok()) {
            facts.error = head.error();
            facts.missing = head.missing();
        } else {
            facts.kind = sniffMedia(std::string_view(head.value()).substr(0, MediaHeadSize)).kind;
            if (facts.kind == MediaKind::Picture)
                readPictureSize(head.value(), facts.picture);
            facts.picture.bytes = fileSize(path);
        }
        return m_files.emplace(path, std::move(facts)).first->second;
    }

    static std::uint64_t fileSize(const std::string &path)
    {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        return ec ? 0 : size;
    }

    // `what` starts the messages ("the background picture ", "picture {i0} ..."); a picture
    // `madeSmall` for the web is never too large.
    void checkPicture(std::string_view stored, const std::string &what, bool madeSmall)
    {
        if (stored.empty()) {
            add("missing-file", what + "has no file chosen: the page shows a broken picture");
            return;
        }
        const FileFacts &facts = factsOf(stored);
        const std::string name = "\"" + std::string(stored) + "\"";
        if (!facts.error.empty()) {
            add("missing-file",
                what + name + (facts.missing ? " does not exist" : " cannot be read") + " ("
                    + facts.error + ")");
        } else if (facts.kind != MediaKind::Picture) {
            add("not-a-picture", what + name + " is not a picture a browser can show");
        } else if (!madeSmall
            && (facts.picture.bytes > LargePictureBytes || facts.picture.width > LargePictureSide
                || facts.picture.height > LargePictureSide)) {
            std::string size = sizeText(facts.picture.bytes);
            if (facts.picture.width > 0)
                size = std::to_string(facts.picture.width) + " x "
                    + std::to_string(facts.picture.height) + " px, " + size;
            add("large-picture",
                what + name + " is large (" + size
                    + "): over 1 MB or 2,000 px, it is slow to load");
        }
    }

    void checkSoundFile(std::string_view stored)
    {
        if (stored.empty()) {
            add("missing-file", "no sound file is chosen: the page's player has nothing to play");
            return;
        }
        const FileFacts &facts = factsOf(stored);
        const std::string name = "\"" + std::string(stored) + "\"";
        if (!facts.error.empty())
            add("missing-file",
                "the sound " + name + (facts.missing ? " does not exist" : " cannot be read") + " ("
                    + facts.error + ")");
        else if (facts.kind != MediaKind::Sound)
            add("not-a-sound", "the sound " + name + " is not a sound a browser can play");
    }

    // An Image section, or an Image List entry that a picture mark inserts (`what` says which).
    void checkImage(std::string_view record, const std::string &what)
    {
        const auto f = fieldViews<13>(record);
        checkPicture(f[field::ImageFile], what.empty() ? "the picture " : what,
            m_picturesMadeForTheWeb && flagValue(f[field::ImageImport]));
        if (isBlank(f[field::ImageAltText]))
            add("no-alt",
                (what.empty() ? "the picture" : what.substr(0, what.size() - 1))
                    + " has no alternative text: readers who cannot see it learn nothing of it");
        const std::string_view type = f[field::ImageLinkType];
        const std::string_view link = f[field::ImageLink];
        if (type != "0" && !link.empty()) {
            const std::string prefix = type == "2" ? "mailto:" : type == "3" ? "#" : "";
            addLink(prefix + std::string(link));
        }
    }

    void checkListRows(const std::string_view *f)
    {
        for (int k = 1; k <= field::ListRows; ++k) {
            const std::string_view text = f[field::listText(k)];
            if (text.empty())
                continue; // a link without text is not written
            checkMarks(text);
            addLink(f[field::listLink(k)]);
        }
        m_textColours.push_back(writtenColour(leadingInt(f[field::ListColour])));
    }

    // Labels and addresses alternate; a last label without an address is not written.
    void checkIndexLines(std::string_view stored)
    {
        const std::string text = unescapeLineBreaks(stored);
        std::vector<std::string_view> lines;
        LineCursor cursor(text);
        for (std::string_view line; cursor.next(line);)
            lines.push_back(line);
        for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
            checkMarks(lines[i]);
            addLink(lines[i + 1]);
        }
        if (lines.size() >= 2)
            m_textColours.push_back(0);
    }

    int sectionColour(std::string_view field) const
    {
        return field.empty() ? 0 : writtenColour(leadingInt(field));
    }

    // The marks as the generator translates them: "{", the letter in either case, and its
    // "}" at most 6 characters on; N from the three characters after the letter.
    void checkMarks(std::string_view text)
    {
        int open[2] = {}; // colour and link runs opened and not yet closed
        for (std::size_t p = text.find('{'); p != std::string_view::npos;
             p = text.find('{', p + 1)) {
            if (p + 1 >= text.size())
                break;
            const char letter = lowerAscii(text[p + 1]);
            if (letter != 'c' && letter != 'l' && letter != 'i')
                continue;
            if (letter == 'l' && isLineBreakMarker(text, p))
                continue;
            const int run = letter == 'c' ? 0 : 1;
            if (letter != 'i' && text[p + 1] == letter && text.substr(p + 2, 2) == "/}") {
                open[run] = std::max(0, open[run] - 1);
                continue;
            }
            const std::size_t q = text.substr(p + 1, 6).find('}');
            if (q == std::string_view::npos) {
                // "{c12 red" was meant for a mark; "{click here" was not.
                if (p + 2 < text.size() && text[p + 2] >= '0' && text[p + 2] <= '9')
                    add("unclosed-mark",
                        "the mark \"" + std::string(text.substr(p, 3))
                            + "...\" has no \"}\" within reach: it prints as typed");
                continue;
            }
            // Only what reads as a number makes a mark worth a word: "{code}" is someone's text.
            if (text.substr(p + 2, q - 1).find_first_not_of("0123456789 +-/")
                != std::string_view::npos)
                continue;
            const std::string mark(text.substr(p, q + 2));
            const std::vector<std::string> &list = letter == 'c' ? m_lists.colours
                : letter == 'l'                                  ? m_lists.links
                                                                 : m_lists.images;
            const int n = leadingInt(text.substr(p + 2, 3));
            if (n < 0 || static_cast<std::size_t>(n) >= list.size()) {
                const char *name = letter == 'c' ? "Colour List"
                    : letter == 'l'              ? "Link List"
                                                 : "Image List";
                add("unknown-mark",
                    "the mark \"" + mark + "\" has no entry in the " + name + " ("
                        + std::to_string(list.size()) + (list.size() == 1 ? " entry" : " entries")
                        + "): it prints as typed");
                continue;
            }
            const std::string &entry = list[static_cast<std::size_t>(n)];
            if (letter == 'c') {
                m_textColours.push_back(m_listColours[static_cast<std::size_t>(n)]);
                ++open[0];
            } else if (letter == 'l') {
                addLink(entry);
                ++open[1];
            } else {
                checkImage(entry, "picture " + mark + " of the Image List ");
            }
        }
        if (open[0] > 0)
            add("unclosed-mark",
                "a colour run started with \"{c\" is not ended with \"{c/}\": "
                "the colour runs on");
        if (open[1] > 0)
            add("unclosed-mark",
                "a link started with \"{l\" is not ended with \"{l/}\": the "
                "link runs on");
    }

    void addAnchor(const std::string &name)
    {
        if (name.empty())
            return;
        const auto [place, added] = m_anchors.emplace(name, m_section);
        if (!added)
            add("duplicate-anchor",
                "the anchor \"" + name + "\" is also written by "
                    + (place->second == 0 ? std::string("the page")
                                          : "section " + std::to_string(place->second))
                    + ": links to it reach only the first");
    }

    void addLink(std::string_view address)
    {
        if (address.empty())
            return;
        if (address[0] == '#') {
            const std::string name(address.substr(1));
            // "#" and "#top" take a browser to the top of any page.
            if (!name.empty() && !(name.size() == 3 && startsWithNoCase(name, "top")))
                m_anchorLinks.emplace_back(m_section, name);
            return;
        }
        if (!startsWithNoCase(address, "http://") && !startsWithNoCase(address, "https://")
            && !startsWithNoCase(address, "mailto:"))
            return;
        std::string link(address);
        if (std::find(m_sectionLinks.begin(), m_sectionLinks.end(), link) != m_sectionLinks.end())
            return;
        m_sectionLinks.push_back(link);
        m_report.links.push_back({ m_section, std::move(link) });
    }

    // The section's least readable text colour against the background, when it is known.
    void checkContrast()
    {
        if (!m_background || m_textColours.empty())
            return;
        double worst = 100;
        int worstColour = 0;
        for (const int colour : m_textColours) {
            // A page uses few colours: each ratio is worked out once.
            auto known = m_ratios.find(colour);
            if (known == m_ratios.end())
                known = m_ratios.emplace(colour, storedColourContrast(colour, *m_background)).first;
            const double ratio = known->second;
            if (ratio < worst) {
                worst = ratio;
                worstColour = colour;
            }
        }
        if (worst >= ReadableContrast)
            return;
        char ratio[16];
        std::snprintf(
            ratio, sizeof ratio, "%.1f:1", static_cast<double>(static_cast<int>(worst * 10)) / 10);
        add("low-contrast",
            "text in " + colourText(worstColour) + " on "
                + (m_backgroundFromPicture ? "the background picture's average "
                                           : "the background ")
                + colourText(*m_background) + " has a contrast of " + ratio
                + ", below 4.5:1: hard to read");
    }

    const FavouriteLists &m_lists;
    const std::string &m_sourceFolder;
    bool m_picturesMadeForTheWeb;
    std::vector<int> m_listColours;
    PageReport m_report;
    int m_section = 0;
    std::optional<int> m_background;
    bool m_backgroundFromPicture = false;
    std::map<std::string, FileFacts> m_files;
    std::unordered_map<std::string, int> m_anchors; // name -> the section that writes it first
    std::vector<std::pair<int, std::string>> m_anchorLinks;
    std::vector<int> m_textColours; // of the section at hand
    std::unordered_map<int, double> m_ratios; // colour -> its contrast with the background
    std::vector<std::string> m_sectionLinks;
};

// Every kind has its check; the build stops when a kind is left without one.
using KindCheck = void (PageCheck::*)(std::string_view record, const std::string_view *fields);
constexpr KindEntry<KindCheck> KindCheckEntries[] = {
    { KindPos::Heading, &PageCheck::checkHeading },
    { KindPos::Paragraph, &PageCheck::checkParagraph },
    { KindPos::Image, &PageCheck::checkImageSection },
    { KindPos::Divider, &PageCheck::checkDivider },
    { KindPos::Anchor, &PageCheck::checkAnchor },
    { KindPos::List, &PageCheck::checkList },
    { KindPos::Index, &PageCheck::checkIndex },
    { KindPos::HTML, &PageCheck::checkHtml },
    { KindPos::PlaySound, &PageCheck::checkSound },
};
constexpr KindTable<KindCheck> KindChecks = tableByKind(KindCheckEntries);
static_assert(coversEveryKind(KindCheckEntries), "every kind of section needs its check");

void PageCheck::checkRecord(std::string_view record)
{
    ++m_section;
    m_textColours.clear();
    m_sectionLinks.clear();
    const auto f = fieldViews<19>(record);
    const int kind = kindPosition(f[field::Kind]);
    if (kind >= 0 && kind < KindCount) // a kind this program does not know writes nothing
        (this->*KindChecks[static_cast<std::size_t>(kind)])(record, f.data());
    checkContrast();
}

void PageCheck::checkList(std::string_view, const std::string_view *f)
{
    checkListRows(f);
}

void PageCheck::checkIndex(std::string_view, const std::string_view *f)
{
    checkIndexLines(f[field::IndexLines]);
}

void PageCheck::checkSound(std::string_view, const std::string_view *f)
{
    checkSoundFile(f[field::SoundFile]);
}

} // namespace

Result<PageReport> checkPage(const Project &header, SectionRecords records,
    const FavouriteLists &lists, const std::string &sourceFolder, bool picturesMadeForTheWeb)
{
    PageCheck check(lists, sourceFolder, picturesMadeForTheWeb);
    check.checkHeader(header);
    const bool read = records.forEach([&](std::string_view record) {
        check.checkRecord(record);
        return true;
    });
    if (!read)
        return fail(records.error());
    return check.finish();
}

std::string problemLine(const Problem &problem)
{
    const std::string where
        = problem.section == 0 ? std::string("page") : "section " + std::to_string(problem.section);
    return where + ": " + problem.code + ": " + problem.message;
}

} // namespace stv
