#include "core/page/MarkScan.h"

#include "core/text/ByteScan.h"
#include "core/text/TextTools.h"

namespace stv
{

using namespace std::string_view_literals;

namespace
{

constexpr std::string_view ParagraphBreak = "{lf13}{lf10}";

// Whether `marker` (lower case) stands at p, its letters in any case. Inline and without
// copies: it runs at nearly every "{" of a project.
bool markerAt(std::string_view text, std::size_t p, std::string_view marker)
{
    if (p > text.size() || text.size() - p < marker.size())
        return false;
    for (std::size_t i = 0; i < marker.size(); ++i) {
        char c = text[p + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != marker[i])
            return false;
    }
    return true;
}

bool isParagraphBreak(std::string_view text, std::size_t p)
{
    return markerAt(text, p, ParagraphBreak);
}

} // namespace

bool isLineBreakMarker(std::string_view text, std::size_t pos)
{
    return markerAt(text, pos, "{lf10}") || markerAt(text, pos, "{lf13}");
}

bool replaceParagraphBreaks(std::string_view text, std::string &out)
{
    std::size_t done = 0;
    bool any = false;
    for (std::size_t p = text.find('{'); p != std::string_view::npos; p = text.find('{', p + 1)) {
        if (!isParagraphBreak(text, p))
            continue;
        if (!any)
            out.clear();
        any = true;
        out.append(text, done, p - done).append("<BR>"sv);
        done = p + ParagraphBreak.size();
        p = done - 1;
    }
    if (any)
        out.append(text, done, std::string_view::npos);
    return any;
}

bool findBracesApart(
    std::string_view text, bool breaks, std::vector<std::size_t> &braces, bool &breaksFound)
{
    braces.clear();
    breaksFound = false;
    std::size_t removed = 0; // characters the breaks so far take out
    std::size_t breakEnd = 0;
    std::size_t last = 0;
    bool haveLast = false;
    auto take = [&](std::size_t p) {
        if (p < breakEnd)
            return true; // the second "{" of a break
        if (breaks && isParagraphBreak(text, p)) {
            braces.push_back(p | BreakFlag);
            breaksFound = true;
            breakEnd = p + ParagraphBreak.size();
            removed += ParagraphBreak.size() - 4;
            return true;
        }
        const std::size_t at = p - removed;
        if (haveLast && at - last <= 6)
            return false;
        last = at;
        haveLast = true;
        braces.push_back(p);
        return true;
    };
    return forEachByte(text, '{', 0, take);
}

void replaceBreaks(std::string_view text, std::vector<std::size_t> &braces, std::string &out)
{
    out.clear();
    std::size_t done = 0;
    std::size_t kept = 0;
    for (const std::size_t place : braces) {
        if ((place & BreakFlag) == 0) {
            braces[kept++] = out.size() + (place - done);
            continue;
        }
        const std::size_t p = place & ~BreakFlag;
        out.append(text, done, p - done).append("<BR>"sv);
        done = p + ParagraphBreak.size();
    }
    braces.resize(kept);
    out.append(text, done, std::string_view::npos);
}

} // namespace stv
