#include "core/settings/DefaultLists.h"

#include "core/files/FileIO.h"
#include "core/page/PageStyle.h"
#include "core/project/Records.h"
#include "core/settings/Config.h"
#include "core/settings/ProgramFolderPath.h"
#include "core/text/Cp1252.h"

#include <filesystem>
#include <vector>

namespace stv
{

namespace
{

std::string inFolder(const std::string &folder, const char *name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

Result<> provideDefaultLists(const std::string &defaultsFolder, const std::string &programFolder)
{
    if (defaultsFolder.empty() || !folderExists(defaultsFolder)
        || fileExists(inFolder(programFolder, ConfigFileName)))
        return {};
    for (const char *name : { ColourListFile, LinkListFile, ImageListFile, ConfigFileName }) {
        const std::string from = inFolder(defaultsFolder, name);
        if (!fileExists(from))
            continue;
        const std::size_t limit
            = std::string_view(name) == ConfigFileName ? ConfigFileLimit : ListFileLimit;
        Result<std::vector<std::string>> read = readLinesFile(from, limit);
        if (!read)
            return read.failure();
        std::vector<std::string> &lines = read.value();
        if (std::string_view(name) == ImageListFile) {
            for (std::string &entry : lines) {
                const std::vector<std::string> fields = splitFields(entry, 2);
                const std::string &picture = fields.size() > 2 ? fields[2] : std::string();
                if (picture.empty() || picture.find_first_of("/\\") != std::string::npos)
                    continue;
                const std::string full = inFolder(defaultsFolder, nativePath(picture).c_str());
                if (fileExists(full))
                    entry = replaceField(entry, 2, storedPath(full));
            }
        }
        // The configuration goes last: a folder holding it counts as set up.
        if (Result<> written = writeLinesFile(inFolder(programFolder, name), lines); !written)
            return written;
    }
    return {};
}

std::string defaultListsFolderPath()
{
    const std::string exeFolder = executableFolder();
    if (exeFolder.empty())
        return {};
    for (const char *candidate : { DefaultListsFolderName, "../share/sitorva/defaults" }) {
        const std::string folder
            = std::filesystem::path(exeFolder + candidate).lexically_normal().string();
        if (folderExists(folder))
            return folder;
    }
    return {};
}

Result<> provideProgramDefaultLists()
{
    const std::string folder = programFolderPath();
    std::string error;
    // A first start writes the modern page style into the settings; the style is chosen
    // before the lists come, since they bring a configuration with them.
    if (!fileExists(inFolder(folder, ConfigFileName)))
        if (const Result<Settings> settings = settingsAtStartup(folder, false); !settings)
            error = settings.error();
    if (const Result<> lists = provideDefaultLists(defaultListsFolderPath(), folder); !lists)
        error += (error.empty() ? "" : "\n") + lists.error();
    if (!error.empty())
        return fail(error);
    return {};
}

} // namespace stv
