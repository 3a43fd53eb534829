#pragma once
// The colour, link and picture marks of a user's text written for the modern page: a colour
// run as <span>, a link as <a>, a picture through the page's picture writer. The elements
// are kept well nested: a mark's end closes only what its start opened (a closing mark with
// nothing open is dropped), what is still open at the end of the text is closed there, and a
// link never stands inside another link.

#include "core/settings/FavouriteLists.h"

#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// Writes a picture of the Image List (a whole Image record) inside a text.
class PictureWriter
{
public:
    virtual ~PictureWriter() = default;
    // linkAllowed is false inside a link, where the picture's own link is left out.
    virtual void appendInlinePicture(std::string_view record, std::string &out, bool linkAllowed)
        = 0;
};

class ModernMarks
{
public:
    ModernMarks(const FavouriteLists &lists, PictureWriter &pictures);

    // Appends the text with its marks as HTML. With `breaks` every "{lf13}{lf10}" (any case)
    // becomes <br>. With `insideLink` the text stands inside a link of its section and its
    // link marks are left out, their words kept.
    void append(std::string_view text, std::string &out, bool breaks, bool insideLink);

private:
    struct Open {
        char letter; // 'c' or 'l'
        int entry;
    };
    void openElement(const Open &element, std::string &out) const;
    void closeElement(const Open &element, std::string &out) const;
    // Closes the innermost open element of `letter` and every element inside it, opening the
    // inner ones again after it; nothing when none is open.
    void closeInnermost(char letter, std::string &out);
    struct Mark {
        enum Type { None, Open, Close } type = None;
        char letter = '\0'; // 'c', 'l' or 'i'
        int entry = 0;
        std::size_t next = 0; // where the text goes on after the mark
    };
    // The mark that starts at text[p], if any.
    Mark readMark(std::string_view text, std::size_t p) const;
    void applyMark(const Mark &mark, std::string &out, bool insideLink);

    const FavouriteLists &m_lists;
    PictureWriter &m_pictures;
    std::vector<std::string> m_colours; // "#RRGGBB" of each Colour List entry
    std::vector<Open> m_open;
};

} // namespace stv
