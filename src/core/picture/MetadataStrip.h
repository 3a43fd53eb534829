#pragma once
// Removes the metadata blocks of a JPEG or PNG file without touching its pixels: for pictures
// that need nothing else, so they lose the camera's data (place, camera, thumbnails, comments)
// but neither quality nor bytes. Only blocks that do not change how the picture looks are kept.

#include "core/Result.h"

#include <string>
#include <string_view>

namespace stv
{

// The JPEG's segments up to its end marker without APP1..APP13, APP15, comments and a JFIF
// block that carries a thumbnail; data after the end marker (appended preview pictures) is
// dropped too. A failure when the bytes are not a JPEG laid out as the format says.
Result<std::string> jpegWithoutMetadata(std::string_view jpeg);

// The PNG's chunks up to IEND without text, time, EXIF and colour-profile chunks and unknown
// ancillary chunks. A failure when the bytes are not a PNG laid out as the format says.
Result<std::string> pngWithoutMetadata(std::string_view png);

} // namespace stv
