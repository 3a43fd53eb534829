#include "app/ProgramModules.h"

#include "app/ModuleEntries.h"
#include "core/settings/ProgramModule.h"

namespace stv
{

namespace
{

// The entry of a module; null, with the reason on `err`, when it cannot be loaded.
void *moduleEntry(const char *module, const char *entryName, std::ostream &err)
{
    Result<void *> entry = programModuleEntry(module, entryName);
    if (!entry) {
        err << "sitorva: " << entry.error() << "\n";
        return nullptr;
    }
    return entry.value();
}

} // namespace

int runWindows(int argc, char **argv, const std::string &projectToOpen, std::ostream &err)
{
    void *entry = moduleEntry(WindowsModuleName, WindowsEntryName, err);
    if (entry == nullptr)
        return 1;
    return reinterpret_cast<SitorvaWindowsEntry>(entry)(argc, argv, projectToOpen.c_str());
}

int runPublish(const std::string &projectPath, int flags, std::ostream &err)
{
    void *entry = moduleEntry(PublishModuleName, PublishEntryName, err);
    if (entry == nullptr)
        return 1;
    return reinterpret_cast<SitorvaPublishEntry>(entry)(projectPath.c_str(), flags);
}

int runOnlineCheck(const std::string &projectPath, std::ostream &err)
{
    void *entry = moduleEntry(PublishModuleName, OnlineCheckEntryName, err);
    if (entry == nullptr)
        return 1;
    return reinterpret_cast<SitorvaOnlineCheckEntry>(entry)(projectPath.c_str());
}

} // namespace stv
