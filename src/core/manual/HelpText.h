#pragma once
// The manual's text format, without any window: chapters found by number in the help file,
// the inline markup of a body line turned into a row layout that the help window only paints,
// the printed form of a chapter, and the Back history. All text is Windows-1252 bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

inline constexpr std::size_t ChapterTitleLength = 40;
// Leading empty body lines dropped at most.
inline constexpr int MaxDroppedEmptyLines = 6;
// A picture's gap is always as wide as this text in the text font.
inline constexpr std::string_view PicturePlaceholder = "{I} 8;";
// Rest of a line after a marked span: at most this many characters are drawn.
inline constexpr std::size_t MaxRestLength = 255;
// The italic span is enclosed in this byte (Windows-1252 small i with acute).
inline constexpr char ItalicMarker = '\xED';
// Link target that opens the project's web site instead of a chapter.
inline constexpr int WebSiteTopic = 99;

struct HelpChapter {
    bool found = false;
    std::string title; // at most 40 characters
    std::vector<std::string> lines; // body lines, leading empty ones dropped (up to six)
};

// The title on a header line: the text from 9 characters after ":Chapter", cut to 40.
std::string chapterTitleOf(std::string_view headerLine);
// True for a line that contains ":Chapter" (letters compared without regard to case).
bool isChapterHeader(std::string_view line);
// Chapter `topic` of the help file's bytes: the first line holding its number directly
// followed by ":Chapter" starts it, the next header line ends it. Chapters must stand in
// ascending order, since the search text for 2 is also found in the header of 12.
HelpChapter findChapter(const std::string &fileBytes, unsigned topic);
// The number on the last header line of the file (0 when there is none), held to 0..65535.
unsigned lastTopicOf(const std::string &fileBytes);
// Deletes up to six empty lines from the front; the first non-empty line stops it.
void dropLeadingEmptyLines(std::vector<std::string> &lines);

// The substitution placeholder "#####" stands for an empty text.
std::string withoutPlaceholders(std::string line);

enum class SpanStyle { Plain, Link, Bold, Red, Italic };

// One piece of a row, drawn left to right one after the other. A picture piece is the gap of
// a picture tag: as wide as PicturePlaceholder in the plain text font, with its picture drawn
// in it by number.
struct LinePiece {
    SpanStyle style = SpanStyle::Plain;
    std::string text;
    int picture = -1; // picture number, -1 for text

    bool isPicture() const { return picture >= 0; }
    bool operator==(const LinePiece &) const = default;
};

struct LineLayout {
    std::vector<LinePiece> pieces;
    int linkTarget = -1; // the link span's topic, -1 when the row has no link

    bool hasLink() const { return linkTarget >= 0; }
};

// Lays out one body line (placeholders already removed). At most one span is styled: a link
// ("%" text "%" "[" n "]") when the line holds "%", else bold ("^"), else red ("*"), else
// italic (the byte 0xED); only the first pair of that kind counts, later markup characters
// stay as they are. A line whose first marker has no partner is laid out as plain text. The
// first picture tag "{I} n;" becomes a picture piece.
LineLayout layoutLine(std::string_view line);

// The printed form of a line: placeholders, "%", "*", "^" and 0xED removed, then every "[n]"
// and "{I} n;" for n from 0 to 100.
std::string printText(std::string line);
std::vector<std::string> printLines(const std::vector<std::string> &lines);

// The Back history: at most 29 entries, oldest first. The last entry is the number of the
// topic on show; an entry of a topic that was left reads: number, 0xA0, top line, 0xA0.
class HelpHistory
{
public:
    static constexpr std::size_t MaxEntries = 29;

    struct Return {
        unsigned topic = 0;
        int topLine = 0;
    };

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    const std::vector<std::string> &entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

    // Notes the top line of the topic being left in the last entry.
    void leave(int topLine);
    // Appends a topic; the oldest entry goes when there would be 30.
    void append(unsigned topic);
    // The entry before the last one: where Back returns to. Needs two entries or more.
    Return previous() const;
    // After Back has loaded the topic it returned to (appending it afresh): the entry of the
    // topic just left and the older entry of the topic returned to go, when there are 3 or more.
    void dropReturned();

private:
    std::vector<std::string> m_entries;
};

} // namespace stv
