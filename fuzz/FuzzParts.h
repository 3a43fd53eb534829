#pragma once
// A fuzz input as up to four parts separated by zero bytes: a text, then the colour, link and
// image lists. Missing parts are empty.

#include <string_view>
#include <vector>

inline std::vector<std::string_view> splitFuzzParts(std::string_view bytes)
{
    std::vector<std::string_view> parts;
    while (parts.size() < 3) {
        const auto zero = bytes.find('\0');
        if (zero == std::string_view::npos)
            break;
        parts.push_back(bytes.substr(0, zero));
        bytes.remove_prefix(zero + 1);
    }
    parts.push_back(bytes);
    parts.resize(4);
    return parts;
}
