#pragma once
// What page generation asks of the part that makes pictures ready for the web. The generator
// copies the ready file beside the page under the picture's own name, and learns the pixel
// size the page shows. The maker (libvips) lives in the module "sitorva-pictures.so", loaded
// by loadWebPictures only when a page asks for it, so neither the core nor the command line
// links an image library.

#include "core/Result.h"
#include "core/settings/Settings.h"

#include <memory>
#include <string>

namespace stv
{

inline constexpr int DefaultPictureLongestSide = 1600;
// Raised whenever the way pictures are made changes, so pictures made before are made again.
inline constexpr int PictureRulesVersion = 1;

struct PictureRules {
    int longestSide = DefaultPictureLongestSide; // pixels
    int quality = 82; // JPEG and WebP

    bool operator==(const PictureRules &) const = default;
};

// The rules of the program's settings: the longest side from settingKey::PictureLongestSide
// (16 to 16384, else the default).
PictureRules pictureRulesFrom(const Settings &settings);

struct ReadyPicture {
    std::string file; // native path of the bytes to copy beside the page (may be the source)
    int width = 0; // pixels of that file, upright
    int height = 0;
};

class PicturePreparer
{
public:
    virtual ~PicturePreparer() = default;
    // `source` is a native path. A failure says why it is no picture that can be used.
    virtual Result<ReadyPicture> prepare(const std::string &source) = 0;
};

// The folder of the kept pictures in a program folder (a native path ending in "/").
std::string pictureCacheFolder(const std::string &programFolder);

// Pictures made ready under `rules` and kept in `cacheFolder` (pictureCacheFolder of the
// program folder), from the picture module; a failure says why the module cannot be loaded.
Result<std::unique_ptr<PicturePreparer>> loadWebPictures(
    const std::string &cacheFolder, const PictureRules &rules);

// The pictures of the program folder `programFolder`: its cache folder, the rules of its
// settings file (defaults when it cannot be read), from the module.
Result<std::unique_ptr<PicturePreparer>> loadProgramWebPictures(const std::string &programFolder);

// The pictures a page is written with: for a modern page that copies its files, made ready
// for the web (loadProgramWebPictures); otherwise none, and the originals are copied. When
// the module cannot be loaded, none either, and `warning` says so.
std::unique_ptr<PicturePreparer> picturesForPage(
    bool modernStyle, bool copiesFiles, const std::string &programFolder, std::string &warning);

// The module's file name and its entry, which makes a PictureCache.
inline constexpr const char *PicturesModuleName = "sitorva-pictures.so";
inline constexpr const char *PicturesEntryName = "sitorvaMakeWebPictures";
using SitorvaPicturesEntry
    = PicturePreparer *(*)(const char *cacheFolder, int longestSide, int quality);

} // namespace stv
