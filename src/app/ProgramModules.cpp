#include "app/ProgramModules.h"

#include "app/ModuleEntries.h"
#include "core/settings/ProgramFolderPath.h"

#include <dlfcn.h>
#include <unistd.h>

namespace stv
{

namespace
{

// The entry of a module, looked for beside the executable first (a build folder), then where
// the install rules put it; null, with the reason on `err`, when it cannot be loaded.
void *moduleEntry(const char *module, const char *entryName, std::ostream &err)
{
    const std::string folder = executableFolder();
    const std::string places[]
        = { folder + module, folder + STV_MODULE_FOLDER_FROM_PROGRAM + module };
    std::string problem;
    for (const std::string &path : places) {
        if (folder.empty() || ::access(path.c_str(), F_OK) != 0)
            continue;
        void *loaded = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (void *entry = loaded != nullptr ? ::dlsym(loaded, entryName) : nullptr)
            return entry;
        const char *why = ::dlerror();
        problem = why != nullptr ? why : path;
    }
    if (problem.empty())
        problem = std::string(module) + " is neither beside the program nor in " + folder
            + STV_MODULE_FOLDER_FROM_PROGRAM;
    err << "sitorva: cannot load " << module << ": " << problem << "\n";
    return nullptr;
}

} // namespace

int runWindows(int argc, char **argv, const std::string &projectToOpen, std::ostream &err)
{
    void *entry = moduleEntry(WindowsModuleName, WindowsEntryName, err);
    if (entry == nullptr)
        return 1;
    return reinterpret_cast<SitorvaWindowsEntry>(entry)(argc, argv, projectToOpen.c_str());
}

int runPublish(const std::string &projectPath, bool dryRun, std::ostream &err)
{
    void *entry = moduleEntry(PublishModuleName, PublishEntryName, err);
    if (entry == nullptr)
        return 1;
    return reinterpret_cast<SitorvaPublishEntry>(entry)(projectPath.c_str(), dryRun ? 1 : 0);
}

int runOnlineCheck(const std::string &projectPath, std::ostream &err)
{
    void *entry = moduleEntry(PublishModuleName, OnlineCheckEntryName, err);
    if (entry == nullptr)
        return 1;
    return reinterpret_cast<SitorvaOnlineCheckEntry>(entry)(projectPath.c_str());
}

} // namespace stv
