#pragma once
// Pictures and sounds recognised by their content, never by their names: the one table of the
// kinds of file a page may carry beside it.

#include "core/Result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace stv
{

enum class MediaKind { Other, Picture, Sound };

struct MediaType {
    std::string_view name; // "PNG", "JPEG", "WAV", ...; empty when unknown
    MediaKind kind = MediaKind::Other;
};

// How many bytes of a file's start sniffMedia wants (SVG text may begin with a long prologue).
inline constexpr std::size_t MediaHeadSize = 1024;

// The type of a file whose first bytes (up to MediaHeadSize of them) are `head`.
MediaType sniffMedia(std::string_view head);

// The first bytes of a regular file (at most `count`), read without ever waiting on a FIFO or
// device. A missing file is a failure with missing() set.
Result<std::string> readFileHead(const std::string &path, std::size_t count = MediaHeadSize);

} // namespace stv
