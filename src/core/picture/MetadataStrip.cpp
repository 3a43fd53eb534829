#include "core/picture/MetadataStrip.h"

#include <array>
#include <cstdint>

namespace stv
{

namespace
{

unsigned byteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

// Whether a JPEG segment with this marker and body is kept.
bool keepJpegSegment(unsigned marker, std::string_view body)
{
    if (marker == 0xE0) // JFIF: kept only without a thumbnail (a 14-byte body)
        return body.substr(0, 5) == std::string_view("JFIF\0", 5) && body.size() == 14;
    if (marker == 0xEE) // Adobe: says how the colours are coded
        return true;
    return !(marker >= 0xE1 && marker <= 0xEF) && marker != 0xFE;
}

} // namespace

Result<std::string> jpegWithoutMetadata(std::string_view jpeg)
{
    const auto broken = [] { return fail("it is not a complete JPEG file"); };
    if (jpeg.size() < 4 || byteAt(jpeg, 0) != 0xFF || byteAt(jpeg, 1) != 0xD8)
        return broken();
    std::string out(jpeg.substr(0, 2));
    std::size_t p = 2;
    while (p + 1 < jpeg.size()) {
        if (byteAt(jpeg, p) != 0xFF)
            return broken();
        const unsigned marker = byteAt(jpeg, p + 1);
        if (marker == 0xFF) { // fill byte before a marker
            ++p;
            continue;
        }
        if (marker == 0xD9) { // end of image: what follows is not the picture
            out.append(jpeg.substr(p, 2));
            return out;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // markers without length
            out.append(jpeg.substr(p, 2));
            p += 2;
            continue;
        }
        if (p + 4 > jpeg.size())
            return broken();
        const std::size_t length = byteAt(jpeg, p + 2) << 8 | byteAt(jpeg, p + 3);
        if (length < 2 || p + 2 + length > jpeg.size())
            return broken();
        const std::string_view segment = jpeg.substr(p, 2 + length);
        if (keepJpegSegment(marker, segment.substr(4)))
            out.append(segment);
        p += 2 + length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data after a start of scan runs to the next marker that is neither a
        // stuffed zero nor a restart marker.
        const std::size_t start = p;
        while (p + 1 < jpeg.size()) {
            if (byteAt(jpeg, p) == 0xFF) {
                const unsigned next = byteAt(jpeg, p + 1);
                if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7))
                    break;
                p += 2;
                continue;
            }
            ++p;
        }
        out.append(jpeg.substr(start, p - start));
    }
    return broken();
}

Result<std::string> pngWithoutMetadata(std::string_view png)
{
    static constexpr std::string_view Signature("\x89PNG\r\n\x1a\n", 8);
    // Chunks that change how the picture looks, or animate it; critical chunks (upper-case
    // first letter) are always kept.
    static constexpr std::array<std::string_view, 11> Kept = { "tRNS", "gAMA", "cHRM", "sRGB",
        "sBIT", "bKGD", "pHYs", "acTL", "fcTL", "fdAT", "hIST" };
    const auto broken = [] { return fail("it is not a complete PNG file"); };
    if (png.substr(0, 8) != Signature)
        return broken();
    std::string out(Signature);
    std::size_t p = 8;
    while (p + 12 <= png.size()) {
        const std::uint64_t length = std::uint64_t(byteAt(png, p)) << 24 | byteAt(png, p + 1) << 16
            | byteAt(png, p + 2) << 8 | byteAt(png, p + 3);
        if (length > png.size() - p - 12)
            return broken();
        const std::string_view type = png.substr(p + 4, 4);
        const std::string_view chunk = png.substr(p, 12 + length);
        bool keep = type[0] >= 'A' && type[0] <= 'Z';
        for (const std::string_view kept : Kept)
            keep = keep || type == kept;
        if (keep)
            out.append(chunk);
        p += chunk.size();
        if (type == "IEND")
            return out;
    }
    return broken();
}

} // namespace stv
