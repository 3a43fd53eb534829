#pragma once
// The pixel size of a picture file, read from the few header bytes of PNG, GIF, JPEG and WebP
// files, so the modern page can tell the browser a picture's size before it arrives.

#include <optional>
#include <string>
#include <string_view>

namespace stv
{

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize &) const = default;
};

// The size the header bytes of a picture file give; nothing for another kind of file, a
// damaged header or a size of 0.
std::optional<PixelSize> pictureSizeOfHeader(std::string_view bytes);
// The size of the picture file at `nativePath`; nothing when it cannot be read or is no
// picture of those kinds. A JPEG's size may stand after its other segments: they are skipped
// over, never read whole.
std::optional<PixelSize> pictureFileSize(const std::string &nativePath);

} // namespace stv
