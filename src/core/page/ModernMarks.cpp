#include "core/page/ModernMarks.h"

#include "core/page/MarkScan.h"
#include "core/page/ModernText.h"
#include "core/page/PageGenerator.h"
#include "core/text/TextTools.h"

#include <algorithm>

namespace stv
{

using namespace std::string_view_literals;

namespace
{

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isParagraphBreak(std::string_view text, std::size_t p)
{
    return isLineBreakMarker(text, p) && isLineBreakMarker(text, p + 6)
        && equalsIgnoreCase(text.substr(p, 12), "{lf13}{lf10}");
}

} // namespace

ModernMarks::ModernMarks(const FavouriteLists &lists, PictureWriter &pictures)
    : m_lists(lists)
    , m_pictures(pictures)
{
    for (const std::string &colour : lists.colours)
        m_colours.push_back("#" + htmlColour(leadingInt(colour)));
}

void ModernMarks::openElement(const Open &element, std::string &out) const
{
    if (element.letter == 'c') {
        out.append("<span style=\"color:"sv)
            .append(m_colours[static_cast<std::size_t>(element.entry)])
            .append("\">"sv);
    } else {
        out.append("<a href=\""sv);
        appendAddress(m_lists.links[static_cast<std::size_t>(element.entry)], out);
        out.append("\">"sv);
    }
}

void ModernMarks::closeElement(const Open &element, std::string &out) const
{
    out.append(element.letter == 'c' ? "</span>"sv : "</a>"sv);
}

void ModernMarks::closeInnermost(char letter, std::string &out)
{
    std::size_t i = m_open.size();
    while (i > 0 && m_open[i - 1].letter != letter)
        --i;
    if (i == 0)
        return;
    for (std::size_t k = m_open.size(); k >= i; --k)
        closeElement(m_open[k - 1], out);
    m_open.erase(m_open.begin() + static_cast<std::ptrdiff_t>(i - 1));
    for (std::size_t k = i - 1; k < m_open.size(); ++k)
        openElement(m_open[k], out);
}

ModernMarks::Mark ModernMarks::readMark(std::string_view text, std::size_t p) const
{
    const char letter = p + 1 < text.size() ? lowerAscii(text[p + 1]) : '\0';
    if (letter != 'c' && letter != 'l' && letter != 'i')
        return {};
    // Closing marks are written in lower case only: "{C/}" is an opening mark.
    if (letter != 'i' && text[p + 1] == letter && text.substr(p + 2, 2) == "/}")
        return { Mark::Close, letter, 0, p + 4 };
    // A stored line break marker is never a link mark.
    if (letter == 'l' && isLineBreakMarker(text, p))
        return {};
    const std::vector<std::string> &list = letter == 'c' ? m_lists.colours
        : letter == 'l'                                  ? m_lists.links
                                                         : m_lists.images;
    const std::size_t q = text.substr(p + 1, 6).find('}');
    const int n = q == std::string_view::npos ? -1 : leadingInt(text.substr(p + 2, 3));
    if (n < 0 || static_cast<std::size_t>(n) >= list.size())
        return {};
    return { Mark::Open, letter, n, p + 1 + q + 1 };
}

void ModernMarks::applyMark(const Mark &mark, std::string &out, bool insideLink)
{
    const bool linkOpen = insideLink
        || std::any_of(m_open.begin(), m_open.end(), [](const Open &o) { return o.letter == 'l'; });
    if (mark.type == Mark::Close) {
        if (!(mark.letter == 'l' && insideLink))
            closeInnermost(mark.letter, out);
        return;
    }
    if (mark.letter == 'i') {
        m_pictures.appendInlinePicture(
            m_lists.images[static_cast<std::size_t>(mark.entry)], out, !linkOpen);
        return;
    }
    if (mark.letter == 'l') {
        if (insideLink)
            return;
        if (linkOpen) // a link in a link is no link: the one open ends here
            closeInnermost('l', out);
    }
    m_open.push_back({ mark.letter, mark.entry });
    openElement(m_open.back(), out);
}

void ModernMarks::append(std::string_view text, std::string &out, bool breaks, bool insideLink)
{
    m_open.clear();
    std::size_t plain = 0;
    for (std::size_t p = text.find('{'); p != std::string_view::npos;) {
        std::size_t next = p;
        if (breaks && isParagraphBreak(text, p)) {
            appendBodyText(text.substr(plain, p - plain), out);
            out.append("<br>"sv);
            next = p + 12;
        } else if (const Mark mark = readMark(text, p); mark.type != Mark::None) {
            appendBodyText(text.substr(plain, p - plain), out);
            applyMark(mark, out, insideLink);
            next = mark.next;
        } else { // no mark: the text goes on through the "{"
            p = text.find('{', p + 1);
            continue;
        }
        plain = next;
        p = text.find('{', next);
    }
    appendBodyText(text.substr(plain), out);
    while (!m_open.empty()) {
        closeElement(m_open.back(), out);
        m_open.pop_back();
    }
}

} // namespace stv
