#include "core/text/Cp1252.h"

#include <sys/stat.h>

#include <array>

namespace stv
{

namespace
{

constexpr std::array<char16_t, 32> High
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at i; returns its length, 0 when the bytes there are not UTF-8.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t &cp)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))
        || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

char32_t cp1252CodePoint(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? High[byte - 0x80] : byte;
}

int cp1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < High.size(); ++i)
        if (High[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes)
        appendUtf8(out, cp1252CodePoint(static_cast<unsigned char>(c)));
    return out;
}

namespace
{

// The references that `wanted` accepts turned back into their characters.
template <class Wanted>
std::string decodeReferences(std::string_view bytes, Wanted &&wanted)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '&' && i + 3 < bytes.size() && bytes[i + 1] == '#') {
            // At most seven digits: a reference is never searched for beyond its own length.
            std::size_t end = i + 2;
            char32_t value = 0;
            while (end < bytes.size() && end < i + 9 && bytes[end] >= '0' && bytes[end] <= '9')
                value = value * 10 + static_cast<char32_t>(bytes[end++] - '0');
            const bool valid = end > i + 2 && end < bytes.size() && bytes[end] == ';' && value > 0
                && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
            if (valid && wanted(value, bytes[i + 2])) {
                appendUtf8(out, value);
                i = end;
                continue;
            }
        }
        appendUtf8(out, cp1252CodePoint(static_cast<unsigned char>(bytes[i])));
    }
    return out;
}

} // namespace

std::string decodeCharacterReferences(std::string_view bytes)
{
    return decodeReferences(bytes, [](char32_t, char) { return true; });
}

std::string typedTextToUtf8(std::string_view bytes)
{
    if (bytes.find("&#") == std::string_view::npos)
        return cp1252ToUtf8(bytes);
    return decodeReferences(bytes,
        [](char32_t value, char firstDigit) { return firstDigit != '0' && cp1252Byte(value) < 0; });
}

std::string nativePath(std::string_view storedPath)
{
    std::string literal = cp1252ToUtf8(storedPath);
    if (storedPath.find("&#") == std::string_view::npos)
        return literal;
    std::string decoded = decodeCharacterReferences(storedPath);
    struct stat info {
    };
    if (!decoded.empty() && decoded.front() == '/' && ::lstat(decoded.c_str(), &info) != 0
        && ::lstat(literal.c_str(), &info) == 0)
        return literal;
    return decoded;
}

std::string utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) { // not UTF-8: keep the byte as it stands
            out += static_cast<char>(b == 0xA0 ? ' ' : b);
            ++i;
            continue;
        }
        i += len;
        if (cp == 0xA0) {
            out += ' ';
            continue;
        }
        const int mapped = cp1252Byte(cp);
        if (mapped >= 0)
            out += static_cast<char>(mapped);
        else
            out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
    }
    return out;
}

std::string nativePathIn(std::string_view storedPath, std::string_view folder)
{
    std::string path = nativePath(storedPath);
    if (path.empty() || path.front() == '/' || folder.empty())
        return path;
    std::string joined(folder);
    if (joined.back() != '/')
        joined += '/';
    return joined + path;
}

} // namespace stv
