#include "core/page/ImageSize.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace stv
{

namespace
{

unsigned byteAt(std::string_view b, std::size_t i)
{
    return static_cast<unsigned char>(b[i]);
}
unsigned bigEndian16(std::string_view b, std::size_t i)
{
    return byteAt(b, i) << 8 | byteAt(b, i + 1);
}
unsigned littleEndian16(std::string_view b, std::size_t i)
{
    return byteAt(b, i) | byteAt(b, i + 1) << 8;
}
unsigned littleEndian24(std::string_view b, std::size_t i)
{
    return littleEndian16(b, i) | byteAt(b, i + 2) << 16;
}

std::optional<PixelSize> sizeOf(unsigned long width, unsigned long height)
{
    // Sizes beyond this are damaged headers, not pictures for a web page.
    constexpr unsigned long Largest = 1u << 20;
    if (width == 0 || height == 0 || width > Largest || height > Largest)
        return std::nullopt;
    return PixelSize { static_cast<int>(width), static_cast<int>(height) };
}

bool isJpegSizeMarker(unsigned marker)
{
    // The start-of-frame markers C0 to CF, less DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string readAt(std::FILE *file, long offset, std::size_t count)
{
    std::string bytes(count, '\0');
    if (std::fseek(file, offset, SEEK_SET) != 0)
        return {};
    bytes.resize(std::fread(bytes.data(), 1, count, file));
    return bytes;
}

// Walks the segments of a JPEG file from offset 2 to its frame header.
std::optional<PixelSize> jpegFileSize(std::FILE *file)
{
    long offset = 2;
    // A picture has a few dozen segments before its frame; far more is a damaged file.
    for (int segment = 0; segment < 1024; ++segment) {
        const std::string head = readAt(file, offset, 9);
        if (head.size() < 4 || byteAt(head, 0) != 0xFF)
            return std::nullopt;
        const unsigned marker = byteAt(head, 1);
        if (marker == 0xFF) { // fill byte
            ++offset;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            offset += 2; // markers without a length
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) // end of picture, or the data began
            return std::nullopt;
        if (isJpegSizeMarker(marker))
            return head.size() < 9 ? std::nullopt
                                   : sizeOf(bigEndian16(head, 7), bigEndian16(head, 5));
        const unsigned length = bigEndian16(head, 2);
        if (length < 2)
            return std::nullopt;
        offset += 2 + static_cast<long>(length);
    }
    return std::nullopt;
}

} // namespace

std::optional<PixelSize> pictureSizeOfHeader(std::string_view b)
{
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1A\n" && b.substr(12, 4) == "IHDR") {
        const auto big32 = [&](std::size_t i) {
            return static_cast<unsigned long>(bigEndian16(b, i)) << 16 | bigEndian16(b, i + 2);
        };
        return sizeOf(big32(16), big32(20));
    }
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
        return sizeOf(littleEndian16(b, 6), littleEndian16(b, 8));
    if (b.size() >= 30 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP") {
        const std::string_view chunk = b.substr(12, 4);
        if (chunk == "VP8 ")
            return sizeOf(littleEndian16(b, 26) & 0x3FFF, littleEndian16(b, 28) & 0x3FFF);
        if (chunk == "VP8L" && byteAt(b, 20) == 0x2F) {
            const unsigned long bits = byteAt(b, 21) | byteAt(b, 22) << 8 | byteAt(b, 23) << 16
                | static_cast<unsigned long>(byteAt(b, 24)) << 24;
            return sizeOf((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
        }
        if (chunk == "VP8X")
            return sizeOf(littleEndian24(b, 24) + 1ul, littleEndian24(b, 27) + 1ul);
    }
    return std::nullopt;
}

std::optional<PixelSize> pictureFileSize(const std::string &nativePath)
{
    // Only regular files: opening a FIFO would wait for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(nativePath, error))
        return std::nullopt;
    const File file(std::fopen(nativePath.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    const std::string head = readAt(file.get(), 0, 32);
    if (head.size() >= 3 && head.substr(0, 3) == "\xFF\xD8\xFF")
        return jpegFileSize(file.get());
    return pictureSizeOfHeader(head);
}

} // namespace stv
