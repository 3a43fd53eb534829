#pragma once
// Where the marks of a user's text can stand: its braces, its stored line break markers and a
// paragraph's breaks, found for the page generator's mark translation.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// True when a stored line break marker, "{lf13}" or "{lf10}" in any case, starts at pos.
bool isLineBreakMarker(std::string_view text, std::size_t pos);

// A paragraph's every "{lf13}{lf10}" (any case) replaced by <BR>; false, with nothing
// written, when the text has none.
bool replaceParagraphBreaks(std::string_view text, std::string &out);

// In a list of braces, the place of a paragraph break carries this bit.
inline constexpr std::size_t BreakFlag = std::size_t(1) << (sizeof(std::size_t) * 8 - 1);

// Finds the "{" of a text for translating its marks in one pass: true when each "{" stands
// more than 6 characters after the one before it, once every paragraph break is replaced by
// <BR> (only when `breaks`; breaksFound tells whether there were any). The places are those in
// the text as it is, a break's with BreakFlag. Stops with false as soon as two stand closer,
// so the list never grows beyond a sixth of the text.
bool findBracesApart(
    std::string_view text, bool breaks, std::vector<std::size_t> &braces, bool &breaksFound);

// Writes the text with the breaks of `braces` replaced by <BR> into `out`, and turns `braces`
// into the places of the other "{" in the result.
void replaceBreaks(std::string_view text, std::vector<std::size_t> &braces, std::string &out);

} // namespace stv
