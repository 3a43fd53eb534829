#pragma once
// What a page check needs to know of a picture file: its size in pixels and bytes, and, for a
// background, its average colour. Read from the file's content alone.

#include "core/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stv
{

struct PictureFacts {
    std::uint64_t bytes = 0;
    int width = 0; // 0 when the format's header gives no size this reader knows
    int height = 0;
};

// Width and height from the header of a PNG, GIF, JPEG, BMP or WebP file's first bytes; the
// facts stay 0 for other formats.
void readPictureSize(std::string_view head, PictureFacts &facts);

// The average colour of a picture as 0x00BBGGRR, for PNG (8 bits a channel, not interlaced)
// and uncompressed 24- and 32-bit BMP; nothing for other formats or a damaged file. Pixels
// are sampled along at most `maxRows` rows, so a large picture costs little.
std::optional<int> averageColour(const std::string &path, int maxRows = 256);

} // namespace stv
