#include "core/picture/WebPicture.h"

#include "core/files/FileIO.h"
#include "core/picture/MetadataStrip.h"

#include <vips/vips.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/stat.h>

namespace stv
{

namespace
{

// A picture larger than this is refused rather than decoded for minutes.
constexpr double MostPixels = 250e6;

// The qualities tried, best first, until the picture is no larger than the original.
constexpr int LowerQualities[] = { 70, 55, 40 };

// libvips is started once for the whole process, on first use; its cache of operations is
// off, since each picture is read once.
bool vipsStarted()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        started = VIPS_INIT("sitorva") == 0;
        if (!started)
            return;
        vips_cache_set_max(0);
        // A damaged picture is reported through the result; libvips's own warnings about it
        // would only clutter the terminal.
        g_log_set_handler(
            "VIPS", G_LOG_LEVEL_WARNING,
            [](const gchar *, GLogLevelFlags, const gchar *, gpointer) {}, nullptr);
    });
    return started;
}

// One reference to a libvips object, given back when it goes.
template <class T>
class Held
{
public:
    Held() = default;
    explicit Held(T *object)
        : m_object(object)
    {
    }
    ~Held()
    {
        if (m_object != nullptr)
            g_object_unref(m_object);
    }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;
    T *get() const { return m_object; }
    T **put() { return &m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T *m_object = nullptr;
};

// libvips's last error, its first line, and the buffer cleared for the next picture.
std::string vipsError()
{
    std::string text = vips_error_buffer();
    vips_error_clear();
    text = text.substr(0, text.find('\n'));
    return text.empty() ? std::string("libvips gave no reason") : text;
}

Failure unreadable(const std::string &why)
{
    return fail("it is not a picture that can be read: " + why);
}

enum class Format { Jpeg, Png, Webp, Other };

struct Probe {
    Format format = Format::Other;
    int width = 0; // as stored, before turning
    int height = 0;
    int orientation = 1;
    bool metadata = false; // EXIF, XMP, IPTC, a colour profile or PNG text
    bool colour = false; // a colour profile or CMYK: needs converting to sRGB
    bool animated = false;
};

bool startsWith(const char *text, const char *prefix)
{
    return text != nullptr && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

Probe probeImage(VipsImage *image)
{
    Probe probe;
    const char *loader = nullptr;
    if (vips_image_get_typeof(image, VIPS_META_LOADER) != 0)
        (void)vips_image_get_string(image, VIPS_META_LOADER, &loader);
    probe.format = startsWith(loader, "jpegload") ? Format::Jpeg
        : startsWith(loader, "pngload")           ? Format::Png
        : startsWith(loader, "webpload")          ? Format::Webp
                                                  : Format::Other;
    probe.width = vips_image_get_width(image);
    probe.height = vips_image_get_height(image);
    probe.orientation = vips_image_get_orientation(image);
    probe.animated = vips_image_get_n_pages(image) > 1;
    const bool profile = vips_image_get_typeof(image, VIPS_META_ICC_NAME) != 0;
    probe.colour = profile || vips_image_get_interpretation(image) == VIPS_INTERPRETATION_CMYK;
    probe.metadata = profile || vips_image_get_typeof(image, VIPS_META_EXIF_NAME) != 0
        || vips_image_get_typeof(image, VIPS_META_XMP_NAME) != 0
        || vips_image_get_typeof(image, VIPS_META_IPTC_NAME) != 0;
    gchar **fields = vips_image_get_fields(image);
    for (gchar **f = fields; f != nullptr && *f != nullptr; ++f)
        probe.metadata
            = probe.metadata || startsWith(*f, "png-comment-") || startsWith(*f, "gif-comment");
    g_strfreev(fields);
    return probe;
}

// An animated PNG says so in an "acTL" chunk before its first picture data; libvips reads its
// first frame only, so it is never encoded again.
bool animatedPng(const std::string &source, const Probe &probe)
{
    if (probe.format != Format::Png)
        return false;
    std::string head(std::size_t(1) << 16, '\0');
    std::FILE *file = std::fopen(source.c_str(), "rb");
    if (file == nullptr)
        return false;
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fclose(file);
    const std::size_t data = head.find("IDAT");
    return head.substr(0, data).find("acTL") != std::string::npos;
}

// Decodes every pixel, so a picture cut short or broken inside is found before it is used.
bool decodes(VipsImage *image)
{
    double average = 0;
    return vips_avg(image, &average, nullptr) == 0;
}

Result<std::string> encode(VipsImage *image, Format format, int quality)
{
    void *buffer = nullptr;
    std::size_t length = 0;
    int failed = 0;
    if (format == Format::Jpeg)
        failed = vips_jpegsave_buffer(
            image, &buffer, &length, "Q", quality, "strip", TRUE, "optimize_coding", TRUE, nullptr);
    else if (format == Format::Png)
        failed = vips_pngsave_buffer(
            image, &buffer, &length, "compression", 9, "strip", TRUE, nullptr);
    else
        failed
            = vips_webpsave_buffer(image, &buffer, &length, "Q", quality, "strip", TRUE, nullptr);
    if (failed != 0)
        return fail("it could not be written again: " + vipsError());
    std::string bytes(static_cast<const char *>(buffer), length);
    g_free(buffer);
    return bytes;
}

// Turned upright, shrunk to fit the longest side (shrinking while the file is read), in sRGB,
// encoded without metadata; at a lower quality when that is what keeps it within `limit`
// bytes.
Result<WebPicture> remake(
    const std::string &source, const Probe &probe, const PictureRules &rules, std::size_t limit)
{
    Held<VipsSource> input(vips_source_new_from_file(source.c_str()));
    if (!input)
        return unreadable(vipsError());
    Held<VipsImage> shrunk;
    const int failed = probe.colour
        ? vips_thumbnail_source(input.get(), shrunk.put(), rules.longestSide, "height",
            rules.longestSide, "size", VIPS_SIZE_DOWN, "export_profile", "srgb", "fail_on",
            VIPS_FAIL_ON_TRUNCATED, nullptr)
        : vips_thumbnail_source(input.get(), shrunk.put(), rules.longestSide, "height",
            rules.longestSide, "size", VIPS_SIZE_DOWN, "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
    if (failed != 0)
        return unreadable(vipsError());
    // Held in memory once (a few megabytes at screen size), so a second quality does not
    // read the file again.
    Held<VipsImage> pixels(vips_image_copy_memory(shrunk.get()));
    if (!pixels)
        return unreadable(vipsError());

    WebPicture picture;
    picture.width = vips_image_get_width(pixels.get());
    picture.height = vips_image_get_height(pixels.get());
    Result<std::string> bytes = encode(pixels.get(), probe.format, rules.quality);
    if (!bytes)
        return bytes.failure();
    picture.bytes = std::move(bytes.value());
    if (probe.format == Format::Png)
        return picture;
    for (const int quality : LowerQualities) {
        if (picture.bytes.size() <= limit || quality >= rules.quality)
            continue;
        Result<std::string> smaller = encode(pixels.get(), probe.format, quality);
        if (!smaller)
            return smaller.failure();
        if (smaller.value().size() < picture.bytes.size())
            picture.bytes = std::move(smaller.value());
    }
    return picture;
}

} // namespace

Result<WebPicture> makeWebPicture(const std::string &source, const PictureRules &rules)
{
    struct stat info {
    };
    if (::stat(source.c_str(), &info) != 0)
        return fail(std::string("it cannot be read: ") + std::strerror(errno), errno == ENOENT);
    if (!S_ISREG(info.st_mode))
        return fail(notRegularText(info.st_mode));
    if (!vipsStarted())
        return fail("the picture library libvips could not be started: " + vipsError());

    Held<VipsSource> input(vips_source_new_from_file(source.c_str()));
    if (!input)
        return unreadable(vipsError());
    Held<VipsImage> image(vips_image_new_from_source(input.get(), "", "access",
        VIPS_ACCESS_SEQUENTIAL, "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr));
    if (!image)
        return unreadable(vipsError());
    const Probe probe = probeImage(image.get());
    if (double(probe.width) * probe.height > MostPixels)
        return fail("it is too large: " + std::to_string(probe.width) + " x "
            + std::to_string(probe.height) + " pixels");

    const bool swap = probe.orientation >= 5 && probe.orientation <= 8;
    WebPicture picture;
    picture.width = swap ? probe.height : probe.width;
    picture.height = swap ? probe.width : probe.height;
    const bool turn = probe.orientation > 1 && probe.orientation <= 8;
    const bool shrink = std::max(picture.width, picture.height) > rules.longestSide;
    const bool pixelsFine = !turn && !shrink && !probe.colour;
    // Animations and formats other than JPEG, PNG and WebP are never encoded again.
    const bool neverRemade
        = probe.format == Format::Other || probe.animated || animatedPng(source, probe);
    if (neverRemade || (pixelsFine && (probe.format != Format::Webp || !probe.metadata))) {
        if (!decodes(image.get()))
            return unreadable(vipsError());
        if (probe.format != Format::Jpeg && probe.format != Format::Png) {
            picture.asItIs = true;
            return picture;
        }
        // Only the metadata goes, if there is any (libvips does not see every PNG text and
        // JPEG comment): the pixels stay as they were, byte for byte.
        Result<std::string> read = readWholeFile(source);
        if (!read)
            return read.failure();
        const std::string &original = read.value();
        Result<std::string> stripped = probe.format == Format::Jpeg ? jpegWithoutMetadata(original)
                                                                    : pngWithoutMetadata(original);
        if (!stripped)
            return unreadable(stripped.error());
        picture.asItIs = stripped.value().size() == original.size();
        if (!picture.asItIs)
            picture.bytes = std::move(stripped.value());
        return picture;
    }
    return remake(source, probe, rules, static_cast<std::size_t>(info.st_size));
}

} // namespace stv
