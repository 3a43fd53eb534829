#include "core/settings/ProgramModule.h"

#include "core/settings/ProgramFolderPath.h"

#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace stv
{

Result<void *> programModuleEntry(const char *module, const char *entryName)
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
    return fail("cannot load " + std::string(module) + ": " + problem);
}

} // namespace stv
