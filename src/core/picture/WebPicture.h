#pragma once
// Makes one picture ready for the web with libvips: upright by its EXIF orientation, at most
// a given number of pixels on its longest side, in sRGB, with every metadata block removed
// (place, camera, thumbnails, XMP, IPTC, comments), in the format it came in and never larger
// in bytes than it was. A picture that needs none of this is left as it is.
//
// Formats: JPEG stays JPEG (quality 82: no visible loss at screen size, about a tenth of a
// camera's bytes; lower qualities only when 82 would come out larger than the original),
// PNG stays PNG, a still WebP stays WebP. GIF (often animated), animated pictures and every
// other format are left as they are. A picture that needs only its metadata removed (no
// turning, no resizing, no colour profile) keeps its pixels: the metadata blocks are cut out.
// The same source and rules always give the same bytes.

#include "core/Result.h"
#include "core/page/PicturePreparer.h"

#include <string>

namespace stv
{

struct WebPicture {
    bool asItIs = false; // the source needs nothing: copy it byte for byte
    std::string bytes; // the ready picture, when it is not as it is
    int width = 0; // pixels, upright
    int height = 0;
};

// `source` is a native path. A failure names the file and says why it is not a picture that
// can be read (not a picture, broken, cut short).
Result<WebPicture> makeWebPicture(const std::string &source, const PictureRules &rules);

} // namespace stv
