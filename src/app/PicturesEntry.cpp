// The entry of the picture module: pictures made ready for the web on libvips, kept in a
// cache folder.
#include "core/picture/PictureCache.h"

extern "C" __attribute__((visibility("default"))) stv::PicturePreparer *sitorvaMakeWebPictures(
    const char *cacheFolder, int longestSide, int quality)
{
    static_assert(std::is_same_v<decltype(&sitorvaMakeWebPictures), stv::SitorvaPicturesEntry>);
    stv::PictureRules rules;
    rules.longestSide = longestSide;
    rules.quality = quality;
    return new stv::PictureCache(cacheFolder, rules);
}
