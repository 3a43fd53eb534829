#include "core/page/PicturePreparer.h"

#include "core/settings/ProgramModule.h"

namespace stv
{

PictureRules pictureRulesFrom(const Settings &settings)
{
    PictureRules rules;
    const long long side = settings.number(settingKey::PictureLongestSide, rules.longestSide);
    if (side >= 16 && side <= 16384)
        rules.longestSide = static_cast<int>(side);
    return rules;
}

std::string pictureCacheFolder(const std::string &programFolder)
{
    return programFolder + "WebPictures/";
}

Result<std::unique_ptr<PicturePreparer>> loadWebPictures(
    const std::string &cacheFolder, const PictureRules &rules)
{
    Result<void *> entry = programModuleEntry(PicturesModuleName, PicturesEntryName);
    if (!entry)
        return entry.failure();
    const auto make = reinterpret_cast<SitorvaPicturesEntry>(entry.value());
    return std::unique_ptr<PicturePreparer>(
        make(cacheFolder.c_str(), rules.longestSide, rules.quality));
}

Result<std::unique_ptr<PicturePreparer>> loadProgramWebPictures(const std::string &programFolder)
{
    const Result<Settings> settings = loadSettings(programFolder);
    return loadWebPictures(
        pictureCacheFolder(programFolder), pictureRulesFrom(settings.valueOr(Settings {})));
}

std::unique_ptr<PicturePreparer> picturesForPage(
    bool modernStyle, bool copiesFiles, const std::string &programFolder, std::string &warning)
{
    if (!modernStyle || !copiesFiles)
        return nullptr;
    Result<std::unique_ptr<PicturePreparer>> loaded = loadProgramWebPictures(programFolder);
    if (!loaded) {
        warning = loaded.error() + "; the pictures are copied as they are";
        return nullptr;
    }
    return std::move(loaded.value());
}

} // namespace stv
