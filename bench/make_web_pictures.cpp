// Makes pictures ready for the web as Create Web Page does for the modern style, without the
// page: `make_web_pictures CACHE_FOLDER OUT_FOLDER PICTURE...` prepares each picture through
// the cache and copies the ready file into OUT_FOLDER under its own name. Used by
// bench/pictures_vs_vipsthumbnail.py.
#include "core/page/FileCopy.h"
#include "core/picture/PictureCache.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_web_pictures CACHE_FOLDER OUT_FOLDER PICTURE...\n");
        return 2;
    }
    stv::PictureCache cache(argv[1], stv::PictureRules {});
    stv::DiskCopier copier;
    const std::string out = std::string(argv[2]) + "/";
    int failed = 0;
    for (int i = 3; i < argc; ++i) {
        const std::string source = argv[i];
        const stv::Result<stv::ReadyPicture> ready = cache.prepare(source);
        if (!ready) {
            std::fprintf(stderr, "%s: %s\n", source.c_str(), ready.error().c_str());
            ++failed;
            continue;
        }
        const std::string to = out + source.substr(source.rfind('/') + 1);
        const stv::CopyResult copied = copier.copy(ready.value().file, to);
        if (!copied) {
            std::fprintf(stderr, "%s\n", copied.error().c_str());
            ++failed;
        }
    }
    std::printf("made %d\n", cache.madeCount());
    return failed == 0 ? 0 : 1;
}
