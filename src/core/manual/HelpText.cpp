#include "core/manual/HelpText.h"

#include "core/project/Records.h"
#include "core/text/TextTools.h"

#include <algorithm>

namespace stv
{

namespace
{

constexpr std::string_view HeaderMark = ":Chapter";
constexpr std::string_view Placeholder = "#####";
constexpr std::string_view PictureTag = "{I}";

unsigned topicNumber(int value)
{
    return static_cast<unsigned>(std::clamp(value, 0, 65535));
}

// Characters [start, start + count) of text, cut at its end (0-based start).
std::string_view slice(std::string_view text, std::size_t start, std::size_t count)
{
    if (start >= text.size())
        return {};
    return text.substr(start, count);
}

// 0-based index of the first marker at or after `from`, npos when there is none.
std::size_t findMarker(std::string_view text, char marker, std::size_t from = 0)
{
    return text.find(marker, from);
}

struct Segment {
    SpanStyle style;
    std::size_t begin; // 0-based, into the working copy
    std::size_t end;
};

} // namespace

bool isChapterHeader(std::string_view line)
{
    return findText(HeaderMark, line) != 0;
}

std::string chapterTitleOf(std::string_view headerLine)
{
    const std::size_t at = findText(HeaderMark, headerLine);
    if (at == 0)
        return {};
    // 1-based position of the title's first character: 9 after the marker's first character.
    return std::string(slice(headerLine, at - 1 + 9, ChapterTitleLength));
}

HelpChapter findChapter(const std::string &fileBytes, unsigned topic)
{
    HelpChapter chapter;
    const std::string header = intText(topic) + std::string(HeaderMark);
    TextLineReader reader(fileBytes);
    while (!reader.atEnd()) {
        std::string line = reader.readTextLine();
        if (!chapter.found) {
            if (findText(header, line) != 0) {
                chapter.found = true;
                chapter.title = chapterTitleOf(line);
            }
            continue;
        }
        if (isChapterHeader(line))
            break;
        chapter.lines.push_back(std::move(line));
    }
    dropLeadingEmptyLines(chapter.lines);
    return chapter;
}

unsigned lastTopicOf(const std::string &fileBytes)
{
    unsigned last = 0;
    TextLineReader reader(fileBytes);
    while (!reader.atEnd()) {
        const std::string line = reader.readTextLine();
        if (isChapterHeader(line))
            last = topicNumber(leadingInt(line));
    }
    return last;
}

void dropLeadingEmptyLines(std::vector<std::string> &lines)
{
    std::size_t drop = 0;
    while (drop < lines.size() && drop < MaxDroppedEmptyLines && lines[drop].empty())
        ++drop;
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(drop));
}

std::string withoutPlaceholders(std::string line)
{
    replaceAll(Placeholder, "", line);
    return line;
}

LineLayout layoutLine(std::string_view line)
{
    std::string work(line);

    // The first picture tag becomes the fixed-width placeholder; [pictureAt, +6) is its gap.
    int picture = -1;
    std::size_t pictureAt = std::string::npos;
    if (const std::size_t p = findText(PictureTag, work); p != 0) {
        pictureAt = p - 1;
        picture = std::max(0, leadingInt(slice(work, pictureAt + 4, 4)));
        const std::string tag = std::string(PictureTag) + " " + intText(picture) + ";";
        const bool wellFormed = equalsIgnoreCase(slice(work, pictureAt, tag.size()), tag);
        work.replace(pictureAt, wellFormed ? tag.size() : PictureTag.size(), PicturePlaceholder);
    }

    // The span: one kind by precedence, its first pair of markers only.
    struct Kind {
        char marker;
        SpanStyle style;
    };
    static constexpr Kind kinds[] = { { '%', SpanStyle::Link }, { '^', SpanStyle::Bold },
        { '*', SpanStyle::Red }, { ItalicMarker, SpanStyle::Italic } };
    LineLayout layout;
    std::vector<Segment> segments;
    for (const Kind &kind : kinds) {
        const std::size_t p1 = findMarker(work, kind.marker);
        if (p1 == std::string::npos)
            continue;
        const std::size_t p2 = findMarker(work, kind.marker, p1 + 1);
        if (p2 == std::string::npos)
            break; // no partner: the whole line is plain text
        segments.push_back({ SpanStyle::Plain, 0, p1 });
        segments.push_back({ kind.style, p1 + 1, p2 });
        std::size_t rest = p2 + 1;
        if (kind.style == SpanStyle::Link) {
            if (rest < work.size() && work[rest] == '[') {
                const std::size_t close = slice(work, rest, 4).find(']');
                if (close != std::string_view::npos)
                    rest += close + 1;
            }
            layout.linkTarget = std::max(0, leadingInt(slice(work, p2 + 2, 4)));
        }
        rest = std::min(rest, work.size());
        segments.push_back({ SpanStyle::Plain, rest, std::min(work.size(), rest + MaxRestLength) });
        break;
    }
    if (segments.empty())
        segments.push_back({ SpanStyle::Plain, 0, work.size() });

    // Pieces, with the picture's gap split out of the segment that holds it whole.
    const std::size_t gapEnd = pictureAt + PicturePlaceholder.size();
    for (const Segment &s : segments) {
        const bool holdsGap
            = pictureAt != std::string::npos && s.begin <= pictureAt && gapEnd <= s.end;
        auto add = [&](std::size_t b, std::size_t e, bool keepEmpty) {
            if (b < e || keepEmpty)
                layout.pieces.push_back({ s.style, work.substr(b, e - b), -1 });
        };
        if (!holdsGap) {
            add(s.begin, s.end, s.style == SpanStyle::Link);
            continue;
        }
        add(s.begin, pictureAt, false);
        layout.pieces.push_back({ s.style, {}, picture });
        add(gapEnd, s.end, false);
    }
    return layout;
}

std::string printText(std::string line)
{
    line = withoutPlaceholders(std::move(line));
    std::erase_if(
        line, [](char c) { return c == '%' || c == '*' || c == '^' || c == ItalicMarker; });
    for (int n = 0; n <= 100; ++n) {
        replaceAll("[" + intText(n) + "]", "", line);
        replaceAll(std::string(PictureTag) + " " + intText(n) + ";", "", line);
    }
    return line;
}

std::vector<std::string> printLines(const std::vector<std::string> &lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string &line : lines)
        out.push_back(printText(line));
    return out;
}

void HelpHistory::leave(int topLine)
{
    if (m_entries.empty())
        return;
    m_entries.back() += FieldSep + intText(topLine) + FieldSep;
}

void HelpHistory::append(unsigned topic)
{
    m_entries.push_back(intText(topic));
    while (m_entries.size() > MaxEntries)
        m_entries.erase(m_entries.begin());
}

HelpHistory::Return HelpHistory::previous() const
{
    Return r;
    if (m_entries.size() < 2)
        return r;
    const std::string &entry = m_entries[m_entries.size() - 2];
    r.topic = topicNumber(leadingInt(entry));
    const std::size_t first = entry.find(FieldSep);
    if (first != std::string::npos) {
        const std::size_t second = entry.find(FieldSep, first + 1);
        r.topLine = leadingInt(std::string_view(entry).substr(
            first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
    }
    return r;
}

void HelpHistory::dropReturned()
{
    if (m_entries.size() < 3)
        return;
    m_entries.erase(m_entries.end() - 2);
    m_entries.erase(m_entries.end() - 2);
}

} // namespace stv
