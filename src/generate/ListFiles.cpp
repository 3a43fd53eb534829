#include "ListFiles.h"

#include "model/FileIO.h"
#include "model/StuffUnit.h"

#include <vector>

namespace stv
{

ListsAndOptions LoadListsAndOptions(const std::string &folder)
{
    ListsAndOptions result;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::vector<std::string> config;
    if (!ReadLinesFile(base + ConfigFileName, config))
        return result;
    if (config.size() >= 8)
        result.options.siteLastUpdated = LeadingInt(config[7]) != 0;
    if (config.size() >= 9)
        result.options.updateBlack = LeadingInt(config[8]) != 0;

    std::vector<std::string> lines;
    if (ReadLinesFile(base + ColourListFile, lines))
        result.lists.colours = lines;
    if (ReadLinesFile(base + LinkListFile, lines))
        result.lists.links = lines;
    if (ReadLinesFile(base + ImageListFile, lines))
        result.lists.images = lines;
    return result;
}

} // namespace stv
