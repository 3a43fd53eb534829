#include "core/page/ModernText.h"

#include "core/text/Cp1252.h"

namespace stv
{

namespace
{

void appendCodePoint(char32_t c, std::string &out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character of a "&#N;" at text[p] and the reference's length, when it is one that
// appendPageUtf8 turns into its character.
std::size_t referenceAt(std::string_view text, std::size_t p, char32_t &c)
{
    std::size_t i = p + 2;
    std::uint32_t value = 0;
    const std::size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - digitsStart < 8) {
        value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
        ++i;
    }
    if (i == digitsStart || i >= text.size() || text[i] != ';')
        return 0;
    if (value < 160 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    c = value;
    return i + 1 - p;
}

bool canStartTag(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '/' || c == '!' || c == '?';
}

} // namespace

void appendPageUtf8(std::string_view bytes, std::string &out)
{
    std::size_t plain = 0; // start of the run of bytes copied as they are
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 && (byte != '&' || i + 1 >= bytes.size() || bytes[i + 1] != '#'))
            continue;
        char32_t c = 0;
        std::size_t length = 1;
        if (byte >= 0x80) {
            c = cp1252CodePoint(byte);
            if (c >= 0x80 && c < 0xA0) // an undefined byte
                c = 0xFFFD;
        } else if ((length = referenceAt(bytes, i, c)) == 0) {
            continue;
        }
        out.append(bytes, plain, i - plain);
        appendCodePoint(c, out);
        i += length - 1;
        plain = i + 1;
    }
    out.append(bytes, plain, std::string_view::npos);
}

void appendBodyText(std::string_view text, std::string &out)
{
    std::size_t plain = 0;
    for (std::size_t p = text.find('<'); p != std::string_view::npos; p = text.find('<', p + 1)) {
        if (p + 1 < text.size() && canStartTag(text[p + 1]))
            continue;
        out.append(text, plain, p - plain).append("&lt;");
        plain = p + 1;
    }
    out.append(text, plain, std::string_view::npos);
}

void appendAttributeValue(std::string_view value, std::string &out)
{
    for (const char c : value) {
        if (c == '"')
            out.append("&quot;");
        else if (c == '<')
            out.append("&lt;");
        else if (c == '>')
            out.append("&gt;");
        else
            out += c;
    }
}

void appendAddress(std::string_view address, std::string &out)
{
    if (!address.empty() && address[0] == '#') {
        out += '#';
        out.append(anchorIdOf(address.substr(1)));
        return;
    }
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (const char c : address) {
        if (c == ' ' || c == '"' || c == '<' || c == '>') {
            out += '%';
            out += Hex[static_cast<unsigned char>(c) >> 4];
            out += Hex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
}

std::string anchorIdOf(std::string_view name)
{
    std::string id(name);
    for (char &c : id) {
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
        if (space || c == '"' || c == '<' || c == '>')
            c = '_';
    }
    return id;
}

std::string AnchorIds::take(std::string_view name)
{
    std::string id = anchorIdOf(name);
    if (id.empty())
        return id;
    unsigned &count = m_taken[id];
    if (++count == 1)
        return id;
    // "-2" may have been taken by an anchor of that very name: count on until a free one.
    for (;;) {
        std::string next = id + "-" + std::to_string(count);
        if (m_taken.find(next) == m_taken.end()) {
            m_taken.emplace(next, 1);
            return next;
        }
        ++count;
    }
}

} // namespace stv
