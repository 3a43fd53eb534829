#include "core/text/TerminalText.h"

namespace stv
{

std::string terminalText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const auto escape = [&](unsigned char byte) {
        static const char hex[] = "0123456789ABCDEF";
        out += "\\x";
        out += hex[byte >> 4];
        out += hex[byte & 15];
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F)
                escape(byte);
            else
                out += static_cast<char>(byte);
            ++i;
            continue;
        }
        // A whole UTF-8 sequence passes, unless it is not one or encodes a C1 control.
        const std::size_t length = byte >= 0xF0 && byte <= 0xF4 ? 4
            : byte >= 0xE0                                      ? 3
            : byte >= 0xC2 && byte <= 0xDF                      ? 2
                                                                : 0;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid && byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            valid = false;
        if (!valid) {
            escape(byte);
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace stv
