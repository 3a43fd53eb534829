#include "core/check/PictureFacts.h"

#include "core/files/FileIO.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace stv
{

namespace
{

unsigned byteAt(std::string_view data, std::size_t i)
{
    return i < data.size() ? static_cast<unsigned char>(data[i]) : 0;
}
std::uint32_t bigEndian32(std::string_view data, std::size_t i)
{
    return byteAt(data, i) << 24 | byteAt(data, i + 1) << 16 | byteAt(data, i + 2) << 8
        | byteAt(data, i + 3);
}
unsigned bigEndian16(std::string_view data, std::size_t i)
{
    return byteAt(data, i) << 8 | byteAt(data, i + 1);
}
std::uint32_t littleEndian32(std::string_view data, std::size_t i)
{
    return byteAt(data, i) | byteAt(data, i + 1) << 8 | byteAt(data, i + 2) << 16
        | byteAt(data, i + 3) << 24;
}
unsigned littleEndian16(std::string_view data, std::size_t i)
{
    return byteAt(data, i) | byteAt(data, i + 1) << 8;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// A JPEG's size stands in its start-of-frame segment, after any number of other segments; the
// head read may end before it, and then the size stays unknown.
void readJpegSize(std::string_view head, PictureFacts &facts)
{
    std::size_t p = 2;
    while (p + 9 < head.size()) {
        if (byteAt(head, p) != 0xFF)
            return;
        const unsigned marker = byteAt(head, p + 1);
        if (marker == 0xFF) {
            ++p;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
            && marker != 0xCC;
        if (frame) {
            facts.height = static_cast<int>(bigEndian16(head, p + 5));
            facts.width = static_cast<int>(bigEndian16(head, p + 7));
            return;
        }
        p += 2 + bigEndian16(head, p + 2);
    }
}

void readWebpSize(std::string_view head, PictureFacts &facts)
{
    const std::string_view chunk = head.substr(std::min<std::size_t>(12, head.size()));
    if (startsWith(chunk, "VP8X")) {
        facts.width = static_cast<int>(1 + (littleEndian32(chunk, 12) & 0xFFFFFF));
        facts.height = static_cast<int>(1 + (littleEndian32(chunk, 15) & 0xFFFFFF));
    } else if (startsWith(chunk, "VP8L")) {
        const std::uint32_t bits = littleEndian32(chunk, 9);
        facts.width = static_cast<int>(1 + (bits & 0x3FFF));
        facts.height = static_cast<int>(1 + ((bits >> 14) & 0x3FFF));
    } else if (startsWith(chunk, "VP8 ")) {
        facts.width = static_cast<int>(littleEndian16(chunk, 14) & 0x3FFF);
        facts.height = static_cast<int>(littleEndian16(chunk, 16) & 0x3FFF);
    }
}

int packColour(double red, double green, double blue)
{
    const auto channel = [](double v) { return static_cast<int>(v + 0.5) & 0xFF; };
    return channel(red) | channel(green) << 8 | channel(blue) << 16;
}

// PNG rows are filtered against the row above; each row is undone in place.
void unfilterRow(unsigned char *row, const unsigned char *above, std::size_t length,
    std::size_t pixelBytes, unsigned filter)
{
    for (std::size_t i = 0; i < length; ++i) {
        const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const int up = above[i];
        const int upLeft = i >= pixelBytes ? above[i - pixelBytes] : 0;
        int add = 0;
        if (filter == 1) {
            add = left;
        } else if (filter == 2) {
            add = up;
        } else if (filter == 3) {
            add = (left + up) / 2;
        } else if (filter == 4) {
            const int p = left + up - upLeft;
            const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
            add = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
        }
        row[i] = static_cast<unsigned char>(row[i] + add);
    }
}

std::optional<int> pngAverage(std::string_view file, int maxRows)
{
    std::size_t p = 8;
    unsigned width = 0, height = 0, depth = 0, type = 0, interlace = 0;
    std::string palette, compressed;
    while (p + 8 <= file.size()) {
        const std::uint32_t length = bigEndian32(file, p);
        const std::string_view kind = file.substr(p + 4, 4);
        if (length > file.size() - p - 8)
            return std::nullopt;
        const std::string_view data = file.substr(p + 8, length);
        if (kind == "IHDR") {
            width = bigEndian32(data, 0);
            height = bigEndian32(data, 4);
            depth = byteAt(data, 8);
            type = byteAt(data, 9);
            interlace = byteAt(data, 12);
        } else if (kind == "PLTE") {
            palette = data;
        } else if (kind == "IDAT") {
            compressed.append(data);
        } else if (kind == "IEND") {
            break;
        }
        p += 12 + length;
    }
    static constexpr unsigned Channels[] = { 1, 0, 3, 1, 2, 0, 4 };
    if (depth != 8 || interlace != 0 || type > 6 || Channels[type] == 0 || width == 0 || height == 0
        || width > (1u << 16) || height > (1u << 16))
        return std::nullopt;
    const std::size_t pixelBytes = Channels[type];
    const std::size_t rowBytes = width * pixelBytes + 1;

    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef *>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::vector<unsigned char> row(rowBytes), above(rowBytes, 0);
    const unsigned step = height > static_cast<unsigned>(maxRows) ? height / maxRows : 1;
    double sums[3] = {};
    double counted = 0;
    bool ok = true;
    for (unsigned y = 0; y < height && ok; ++y) {
        stream.next_out = row.data();
        stream.avail_out = static_cast<uInt>(rowBytes);
        while (stream.avail_out > 0) {
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && !(status == Z_STREAM_END && stream.avail_out == 0)) {
                ok = false;
                break;
            }
        }
        if (!ok || row[0] > 4) {
            ok = false;
            break;
        }
        unfilterRow(row.data() + 1, above.data() + 1, rowBytes - 1, pixelBytes, row[0]);
        std::swap(row, above);
        if (y % step != 0)
            continue;
        const unsigned char *pixels = above.data() + 1;
        for (unsigned x = 0; x < width; ++x) {
            const unsigned char *px = pixels + x * pixelBytes;
            unsigned r = px[0], g = px[0], b = px[0];
            if (type == 2 || type == 6) {
                g = px[1];
                b = px[2];
            } else if (type == 3) {
                if (3u * px[0] + 2 >= palette.size()) {
                    ok = false;
                    break;
                }
                r = byteAt(palette, 3u * px[0]);
                g = byteAt(palette, 3u * px[0] + 1);
                b = byteAt(palette, 3u * px[0] + 2);
            }
            sums[0] += r;
            sums[1] += g;
            sums[2] += b;
            counted += 1;
        }
    }
    inflateEnd(&stream);
    if (!ok || counted == 0)
        return std::nullopt;
    return packColour(sums[0] / counted, sums[1] / counted, sums[2] / counted);
}

std::optional<int> bmpAverage(std::string_view file, int maxRows)
{
    const std::uint32_t offset = littleEndian32(file, 10);
    const auto width = static_cast<std::int32_t>(littleEndian32(file, 18));
    const auto rawHeight = static_cast<std::int32_t>(littleEndian32(file, 22));
    const unsigned bits = littleEndian16(file, 28);
    const std::uint32_t compression = littleEndian32(file, 30);
    const std::int64_t height = rawHeight < 0 ? -std::int64_t(rawHeight) : rawHeight;
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3) || width <= 0
        || height <= 0)
        return std::nullopt;
    const std::size_t pixelBytes = bits / 8;
    const std::size_t stride = (std::size_t(width) * pixelBytes + 3) / 4 * 4;
    if (offset > file.size() || stride * std::size_t(height) > file.size() - offset)
        return std::nullopt;
    const std::int64_t step = height > maxRows ? height / maxRows : 1;
    double sums[3] = {};
    double counted = 0;
    for (std::int64_t y = 0; y < height; y += step) {
        const std::size_t row = offset + std::size_t(y) * stride;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t px = row + std::size_t(x) * pixelBytes;
            sums[2] += byteAt(file, px);
            sums[1] += byteAt(file, px + 1);
            sums[0] += byteAt(file, px + 2);
            counted += 1;
        }
    }
    return packColour(sums[0] / counted, sums[1] / counted, sums[2] / counted);
}

} // namespace

void readPictureSize(std::string_view head, PictureFacts &facts)
{
    if (startsWith(head, "\x89PNG\r\n\x1A\n") && head.substr(12, 4) == "IHDR") {
        facts.width = static_cast<int>(bigEndian32(head, 16) & 0x7FFFFFFF);
        facts.height = static_cast<int>(bigEndian32(head, 20) & 0x7FFFFFFF);
    } else if (startsWith(head, "GIF8")) {
        facts.width = static_cast<int>(littleEndian16(head, 6));
        facts.height = static_cast<int>(littleEndian16(head, 8));
    } else if (startsWith(head, "\xFF\xD8")) {
        readJpegSize(head, facts);
    } else if (startsWith(head, "BM")) {
        const auto width = static_cast<std::int32_t>(littleEndian32(head, 18));
        const auto height = static_cast<std::int32_t>(littleEndian32(head, 22));
        facts.width = width < 0 ? 0 : width;
        facts.height = height < 0 ? (height == INT32_MIN ? 0 : -height) : height;
    } else if (startsWith(head, "RIFF") && head.substr(8, 4) == "WEBP") {
        readWebpSize(head, facts);
    }
}

std::optional<int> averageColour(const std::string &path, int maxRows)
{
    const Result<std::string> read = readWholeFile(path);
    if (!read)
        return std::nullopt;
    const std::string &file = read.value();
    if (startsWith(file, "\x89PNG\r\n\x1A\n"))
        return pngAverage(file, maxRows);
    if (startsWith(file, "BM"))
        return bmpAverage(file, maxRows);
    return std::nullopt;
}

} // namespace stv
