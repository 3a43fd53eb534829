#include "core/settings/ProgramFolderPath.h"

#include "core/files/FileIO.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace stv
{

namespace
{

std::string &overrideFolder()
{
    static std::string folder;
    return folder;
}

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string homeFolder()
{
    if (const char *home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd *entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

// Where the desktop keeps a user's application data: $XDG_DATA_HOME when it is an absolute
// path, else ~/.local/share.
std::string userDataFolder()
{
    const char *xdg = std::getenv("XDG_DATA_HOME");
    const std::string base
        = xdg != nullptr && xdg[0] == '/' ? std::string(xdg) : homeFolder() + "/.local/share";
    return withSlash(base) + "Sitorva";
}

} // namespace

std::string executableFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path())
        return {};
    return withSlash(exe.parent_path().string());
}

std::string programFolderPath()
{
    if (!overrideFolder().empty())
        return overrideFolder();
    static const std::string folder = [] {
        const std::string exeFolder = executableFolder();
        // An installed program (its manual in ../share/sitorva, none beside it) never keeps
        // its files in the system's bin folder, even when it may write there (run by root).
        const bool installed = !exeFolder.empty() && !fileExists(exeFolder + "StvHelp.txt")
            && fileExists(exeFolder + "../share/sitorva/StvHelp.txt");
        if (!exeFolder.empty() && !installed && ::access(exeFolder.c_str(), W_OK) == 0)
            return exeFolder;
        const std::string data = userDataFolder();
        std::error_code ec;
        std::filesystem::create_directories(data, ec);
        return withSlash(data);
    }();
    return folder;
}

void setProgramFolderPath(const std::string &folder)
{
    overrideFolder() = folder.empty() ? std::string() : withSlash(folder);
}

std::string programFolderOverride()
{
    return overrideFolder();
}

} // namespace stv
