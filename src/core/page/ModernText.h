#pragma once
// The pieces of text the modern page is made of: the page's Windows-1252 bytes and "&#N;"
// references written as UTF-8, user text and attribute values made valid HTML without
// changing what a browser shows, addresses, and anchor names made valid, unique ids.

#include <string>
#include <string_view>
#include <unordered_map>

namespace stv
{

// Appends Windows-1252 bytes as UTF-8. Every "&#N;" for a character beyond Latin-1's control
// range (N from 160, a valid Unicode scalar) becomes that character; other references ("&#60;")
// stay as written, since turning them into their character would turn text into markup. The
// five bytes Windows-1252 leaves undefined become U+FFFD.
void appendPageUtf8(std::string_view bytes, std::string &out);

// User text as the page body's text: a "<" that cannot start a tag (followed by a space, a
// digit, "=" ...) is written "&lt;", which a browser shows the same; tags the user typed stay.
void appendBodyText(std::string_view text, std::string &out);
// An attribute value between double quotes: '"' becomes "&quot;", "<" and ">" their references.
void appendAttributeValue(std::string_view value, std::string &out);
// An address as an href or src value: spaces (which browsers encode themselves) are
// percent-encoded, and an address of an anchor on the page ("#name") names the anchor's id.
void appendAddress(std::string_view address, std::string &out);

// The id an anchor name becomes: white space, '"', "<" and ">" each become "_", so links
// and anchors agree. Empty for an empty name.
std::string anchorIdOf(std::string_view name);

// The ids given so far on one page: a second anchor of the same name gets "-2", "-3" ... so
// every id is unique while links find the first, as they do on the classic page.
class AnchorIds
{
public:
    // The id for the next anchor of this name; empty for an empty name.
    std::string take(std::string_view name);
    void clear() { m_taken.clear(); }

private:
    std::unordered_map<std::string, unsigned> m_taken;
};

} // namespace stv
