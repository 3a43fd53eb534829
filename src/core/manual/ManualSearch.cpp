#include "core/manual/ManualSearch.h"

#include "core/manual/HelpText.h"
#include "core/text/TextTools.h"

#include <algorithm>
#include <set>

namespace stv
{

namespace
{

// Windows-1252 letters to small ones: ASCII, and the accented capitals of 0xC0 to 0xDE
// (0xD7 is the multiplication sign) and the three with small forms elsewhere.
char foldCase(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<char>(u + 32);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<char>(u + 32);
    switch (u) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<char>(u + 16);
    case 0x9F: // Y diaeresis
        return '\xFF';
    default:
        return c;
    }
}

std::string folded(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), foldCase);
    return out;
}

void searchChapter(unsigned topic, const std::string &title, std::vector<std::string> &lines,
    const std::string &word, std::vector<ManualHit> &hits)
{
    dropLeadingEmptyLines(lines);
    for (std::size_t i = 0; i < lines.size() && hits.size() < MaxManualHits; ++i) {
        const std::string shown = shownText(withoutPlaceholders(lines[i]));
        const std::string haystack = folded(shown);
        for (std::size_t at = haystack.find(word); at != std::string::npos;
             at = haystack.find(word, at + word.size())) {
            hits.push_back({ topic, title, static_cast<int>(i), at, word.size(), shown });
            if (hits.size() >= MaxManualHits)
                break;
        }
    }
}

} // namespace

std::string shownText(std::string_view line)
{
    std::string text;
    for (const LinePiece &piece : layoutLine(line).pieces)
        text += piece.isPicture() ? std::string(" ") : piece.text;
    return text;
}

std::vector<ManualHit> searchManual(const std::string &fileBytes, std::string_view word)
{
    std::vector<ManualHit> hits;
    if (word.empty())
        return hits;
    const std::string wanted = folded(word);
    std::set<unsigned> seen;
    bool inChapter = false;
    unsigned topic = 0;
    std::string title;
    std::vector<std::string> lines;
    auto finish = [&] {
        if (inChapter && seen.insert(topic).second)
            searchChapter(topic, title, lines, wanted, hits);
        lines.clear();
    };
    TextLineReader reader(fileBytes);
    while (!reader.atEnd() && hits.size() < MaxManualHits) {
        std::string line = reader.readTextLine();
        if (isChapterHeader(line)) {
            finish();
            inChapter = true;
            topic = static_cast<unsigned>(std::clamp(leadingInt(line), 0, 65535));
            title = chapterTitleOf(line);
        } else if (inChapter) {
            lines.push_back(std::move(line));
        }
    }
    if (hits.size() < MaxManualHits)
        finish();
    return hits;
}

} // namespace stv
