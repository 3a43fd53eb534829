#include "core/files/MediaType.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stv
{

namespace
{

using namespace std::string_view_literals;

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

unsigned byteAt(std::string_view head, std::size_t i)
{
    return i < head.size() ? static_cast<unsigned char>(head[i]) : 0x100;
}

bool isBmp(std::string_view head)
{
    // "BM" alone is too weak: the info header that follows has one of a few known sizes.
    if (!startsWith(head, "BM") || head.size() < 18)
        return false;
    const unsigned infoSize = byteAt(head, 14) | byteAt(head, 15) << 8 | byteAt(head, 16) << 16
        | byteAt(head, 17) << 24;
    return infoSize == 12 || infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64
        || infoSize == 108 || infoSize == 124;
}

bool isIco(std::string_view head)
{
    return startsWith(head, "\0\0\1\0"sv) && (byteAt(head, 4) | byteAt(head, 5)) != 0;
}

bool isSvg(std::string_view head)
{
    std::size_t p = startsWith(head, "\xEF\xBB\xBF") ? 3 : 0;
    while (p < head.size() && std::strchr(" \t\r\n", head[p]) != nullptr)
        ++p;
    const std::string_view text = head.substr(p);
    if (!startsWith(text, "<?xml") && !startsWith(text, "<svg") && !startsWith(text, "<!--")
        && !startsWith(text, "<!DOCTYPE svg"))
        return false;
    return text.find("<svg") != std::string_view::npos;
}

bool isMp3(std::string_view head)
{
    if (startsWith(head, "ID3"))
        return true;
    // An MPEG audio frame: eleven set sync bits, a version other than "reserved" and a layer.
    const unsigned b0 = byteAt(head, 0), b1 = byteAt(head, 1);
    return b0 == 0xFF && (b1 & 0xE0) == 0xE0 && (b1 & 0x18) != 0x08 && (b1 & 0x06) != 0;
}

bool isRiff(std::string_view head, std::string_view form)
{
    // A file too short to name its form is no RIFF file.
    return startsWith(head, "RIFF") && head.size() >= 12 && head.substr(8, 4) == form;
}

struct MediaSignature {
    MediaType type;
    bool (*matches)(std::string_view head);
};

const std::array<MediaSignature, 12> Signatures { {
    { { "PNG", MediaKind::Picture },
        [](std::string_view h) { return startsWith(h, "\x89PNG\r\n\x1A\n"); } },
    { { "JPEG", MediaKind::Picture },
        [](std::string_view h) { return startsWith(h, "\xFF\xD8\xFF"); } },
    { { "GIF", MediaKind::Picture },
        [](std::string_view h) { return startsWith(h, "GIF87a") || startsWith(h, "GIF89a"); } },
    { { "WebP", MediaKind::Picture }, [](std::string_view h) { return isRiff(h, "WEBP"); } },
    { { "BMP", MediaKind::Picture }, isBmp },
    { { "ICO", MediaKind::Picture }, isIco },
    { { "SVG", MediaKind::Picture }, isSvg },
    { { "WAV", MediaKind::Sound }, [](std::string_view h) { return isRiff(h, "WAVE"); } },
    { { "Ogg", MediaKind::Sound }, [](std::string_view h) { return startsWith(h, "OggS"); } },
    { { "MIDI", MediaKind::Sound }, [](std::string_view h) { return startsWith(h, "MThd"); } },
    { { "AU", MediaKind::Sound }, [](std::string_view h) { return startsWith(h, ".snd"); } },
    { { "MP3", MediaKind::Sound }, isMp3 },
} };

} // namespace

MediaType sniffMedia(std::string_view head)
{
    for (const MediaSignature &signature : Signatures) {
        if (signature.matches(head))
            return signature.type;
    }
    return {};
}

Result<std::string> readFileHead(const std::string &path, std::size_t count)
{
    const auto refuse = [&](int err) {
        return fail(
            "Cannot open " + path + ": " + std::strerror(err), err == ENOENT || err == ENOTDIR);
    };
    struct stat info {
    };
    if (::stat(path.c_str(), &info) != 0)
        return refuse(errno);
    if (!S_ISREG(info.st_mode))
        return fail("Cannot open " + path + ": it is not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return refuse(errno);
    std::string head(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, head.data() + got, count - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return refuse(err);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    head.resize(got);
    return head;
}

} // namespace stv
