// The page generator's translation of the colour, link and picture marks of a user's text.
// Marks are translated as the page is written: the passes run over slices of the text one
// after the other, and the page's block goes to its sink whenever it is full, so a text
// whose marks expand a hundredfold never stands expanded in memory.
#include "core/page/PageGenerator.h"

#include "core/page/MarkScan.h"

namespace stv
{

using namespace std::string_view_literals;

namespace
{

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A mark is decided by its "{" and the 6 characters after it.
constexpr std::size_t MarkReach = 7;

} // namespace

// Writes the mark that starts at text[p] ("{" and `letter`, lower case) to `out` and gives
// where the text goes on: after a closing mark or a valid mark, or after the "{" alone when
// it is no mark. A valid opening mark has its "}" at most 6 characters after the "{", so only
// those few characters are looked at, and every pass stays linear whatever the text holds.
std::size_t PageGenerator::translateMarkAt(
    std::string_view text, std::size_t p, char letter, std::string &out)
{
    // Closing marks are written in lower case only: "{C/}" is an opening mark.
    if (letter != 'i' && text[p + 1] == letter && text.substr(p + 2, 2) == "/}") {
        out.append(letter == 'c' ? "</font>"sv : "</a>"sv);
        return p + 4;
    }
    // A stored line break marker is never a link mark.
    if (letter == 'l' && isLineBreakMarker(text, p)) {
        out += '{';
        return p + 1;
    }
    const std::vector<std::string> &list = letter == 'c' ? m_lists.colours
        : letter == 'l'                                  ? m_lists.links
                                                         : m_lists.images;
    const std::size_t q = text.substr(p + 1, 6).find('}');
    const int n = q == std::string_view::npos ? -1 : leadingInt(text.substr(p + 2, 3));
    if (n < 0 || static_cast<std::size_t>(n) >= list.size()) {
        out += '{';
        return p + 1;
    }
    const std::string &entry = list[static_cast<std::size_t>(n)];
    if (letter == 'c') {
        out.append("<font color=\""sv)
            .append(std::string_view(m_colourDigits).substr(static_cast<std::size_t>(n) * 6, 6))
            .append("\">"sv);
    } else if (letter == 'l') {
        out.append("<a href=\""sv).append(entry).append("\">"sv);
    } else {
        m_emitters[static_cast<std::size_t>(KindPos::Image)](*this, entry, out, m_importRequested);
    }
    // The search goes on after the mark, never inside the inserted text, so entries holding
    // marks themselves are never translated again.
    return p + 1 + q + 1;
}

// One pass from left to right over the marks of one letter (lower case) in a slice of a text.
// Unless the slice is the text's last, a "{" too near its end to be decided stops the pass;
// the answer is where it stopped (the slice's size when it went through).
std::size_t PageGenerator::markPass(std::string_view text, char letter, bool last, std::string &out)
{
    std::size_t i = 0;
    for (std::size_t p = text.find('{'); p != std::string_view::npos;) {
        if (!last && p + MarkReach > text.size()) {
            out.append(text, i, p - i);
            return p;
        }
        if (p + 1 >= text.size() || lowerAscii(text[p + 1]) != letter) {
            p = text.find('{', p + 1);
            continue;
        }
        out.append(text, i, p - i);
        i = translateMarkAt(text, p, letter, out);
        pageGrew(out);
        p = text.find('{', i);
    }
    out.append(text, i, std::string_view::npos);
    return text.size();
}

void PageGenerator::appendMarks(std::string_view text, std::string &out)
{
    bool breaks = false;
    if (findBracesApart(text, false, m_braces, breaks))
        appendMarksApart(text, m_braces, out);
    else
        appendMarksInPasses(text, out);
}

// The marks in one pass from brace to brace. Where every "{" stands more than 6 characters
// after the one before it, no pass can change what a later pass sees near its own marks (a
// mark reaches at most 6 characters past its "{", and colour and link tags bring no "{"), so
// the three passes give this same text; unless a link entry brings a "{" of its own.
void PageGenerator::appendMarksApart(
    std::string_view text, const std::vector<std::size_t> &braces, std::string &out)
{
    if (m_linkEntryHoldsBrace) {
        appendMarksInPasses(text, out);
        return;
    }
    std::size_t i = 0;
    for (const std::size_t p : braces) {
        const char letter = p + 1 < text.size() ? lowerAscii(text[p + 1]) : '\0';
        if (letter != 'c' && letter != 'l' && letter != 'i')
            continue;
        out.append(text, i, p - i);
        i = translateMarkAt(text, p, letter, out);
        pageGrew(out);
    }
    out.append(text, i, std::string_view::npos);
}

// The colour, link and picture passes in this order, each over the result of the one before.
// The text goes through them a slice at a time, each pass keeping back what it could not yet
// decide, so what stands expanded at once is a slice's worth.
void PageGenerator::appendMarksInPasses(std::string_view text, std::string &out)
{
    for (std::string &carried : m_carried)
        carried.clear();
    std::size_t at = 0;
    do {
        const std::string_view slice = text.substr(at, MarkSlice);
        at += slice.size();
        feedPass(0, slice, at >= text.size(), out);
    } while (at < text.size());
}

// Runs pass `stage` (0 colour, 1 link, 2 picture) over what it kept back and `input`, and
// hands what it wrote to the next pass in slices; the last pass writes into `out`.
void PageGenerator::feedPass(int stage, std::string_view input, bool last, std::string &out)
{
    static constexpr char Letters[] = { 'c', 'l', 'i' };
    const auto index = static_cast<std::size_t>(stage);
    std::string &carried = m_carried[index];
    std::string_view text = input;
    if (!carried.empty()) {
        carried.append(input);
        text = carried;
    }
    std::string &written = stage == 2 ? out : m_passText[index];
    if (stage < 2)
        written.clear();
    const std::size_t done = markPass(text, Letters[index], last, written);
    if (text.data() == carried.data())
        carried.erase(0, done);
    else
        carried.assign(text.substr(done));
    if (stage == 2)
        return;
    std::size_t at = 0;
    do {
        const std::string_view slice = std::string_view(written).substr(at, MarkSlice);
        at += slice.size();
        feedPass(stage + 1, slice, last && at >= written.size(), out);
    } while (at < written.size());
}

std::string PageGenerator::translateMarks(std::string_view text)
{
    std::string out;
    appendMarks(text, out);
    return out;
}

std::string PageGenerator::translateMarksInPasses(std::string_view text)
{
    std::string out;
    appendMarksInPasses(text, out);
    return out;
}

void PageGenerator::appendParagraphText(std::string_view text, std::string &out)
{
    bool breaks = false;
    if (findBracesApart(text, true, m_braces, breaks)) {
        if (breaks)
            replaceBreaks(text, m_braces, m_text);
        appendMarksApart(breaks ? std::string_view(m_text) : text, m_braces, out);
    } else {
        appendMarksInPasses(replaceParagraphBreaks(text, m_text) ? m_text : text, out);
    }
}

} // namespace stv
