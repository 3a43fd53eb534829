#include "app/WindowsModule.h"

#include "app/WindowsEntry.h"
#include "core/settings/ProgramFolderPath.h"

#include <dlfcn.h>
#include <unistd.h>

namespace stv
{

int runWindows(int argc, char **argv, const std::string &projectToOpen, std::ostream &err)
{
    // Beside the executable first (a build folder), then where the install rules put it.
    const std::string folder = executableFolder();
    const std::string places[]
        = { folder + WindowsModuleName, folder + STV_WINDOWS_MODULE_FROM_PROGRAM };
    std::string problem;
    for (const std::string &path : places) {
        if (folder.empty() || ::access(path.c_str(), F_OK) != 0)
            continue;
        void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        void *entry = module != nullptr ? ::dlsym(module, WindowsEntryName) : nullptr;
        if (entry == nullptr) {
            const char *why = ::dlerror();
            problem = why != nullptr ? why : path;
            continue;
        }
        return reinterpret_cast<SitorvaWindowsEntry>(entry)(argc, argv, projectToOpen.c_str());
    }
    if (problem.empty())
        problem = std::string(WindowsModuleName) + " is neither beside the program nor in " + folder
            + STV_WINDOWS_MODULE_FROM_PROGRAM;
    err << "sitorva: cannot open the windows: " << problem << "\n";
    return 1;
}

} // namespace stv
