#include "core/upload/ProjectPassword.h"

#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/upload/RemoteAddress.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace stv
{

namespace
{

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> keptPaths(const Settings &settings)
{
    const std::string record = settings.value(settingKey::PasswordInProjectFile);
    const int count = fieldCount(record);
    if (count <= 0)
        return {};
    return splitFields(record, count - 1);
}

} // namespace

std::optional<KeyringKey> passwordKeyFor(const Project &project)
{
    const std::optional<RemoteAddress> address = parseHostField(cp1252ToUtf8(project.ftpHost));
    if (!address || project.ftpUserId.empty())
        return std::nullopt;
    // Host names are case-blind; the port stays out, as a keyring's other programs key it.
    return KeyringKey { lowerCase(protocolName(address->protocol)), lowerCase(address->host),
        cp1252ToUtf8(project.ftpUserId) };
}

Result<> movePasswordToKeyring(Project &project)
{
    if (project.ftpPassword.empty() || project.keepPasswordInFile)
        return {};
    const std::optional<KeyringKey> key = passwordKeyFor(project);
    if (!key)
        return {}; // no connection to key it by: the file keeps it as typed
    if (Result<> stored = storeKeyringPassword(*key, cp1252ToUtf8(project.ftpPassword)); !stored)
        return stored;
    project.ftpPassword.clear();
    return {};
}

Result<bool> takePasswordFromKeyring(Project &project)
{
    if (!project.ftpPassword.empty())
        return false;
    const std::optional<KeyringKey> key = passwordKeyFor(project);
    if (!key)
        return false;
    Result<std::string> found = lookupKeyringPassword(*key);
    if (!found)
        return found.failure();
    if (found.value().empty())
        return false;
    project.ftpPassword = utf8ToCp1252(found.value());
    return true;
}

std::string publishPassword(const Project &project, const char *fromEnvironment)
{
    if (fromEnvironment != nullptr)
        return fromEnvironment;
    if (!project.ftpPassword.empty())
        return cp1252ToUtf8(project.ftpPassword);
    const std::optional<KeyringKey> key = passwordKeyFor(project);
    if (!key)
        return {};
    return lookupKeyringPassword(*key).valueOr({});
}

bool keepsPasswordInFile(const Settings &settings, const std::string &projectPath)
{
    const std::vector<std::string> paths = keptPaths(settings);
    return std::find(paths.begin(), paths.end(), projectPath) != paths.end();
}

void setKeepsPasswordInFile(Settings &settings, const std::string &projectPath, bool keep)
{
    std::vector<std::string> paths = keptPaths(settings);
    std::erase(paths, projectPath);
    if (keep)
        paths.push_back(projectPath);
    if (paths.empty())
        settings.remove(settingKey::PasswordInProjectFile);
    else
        settings.set(settingKey::PasswordInProjectFile, joinFields(paths));
}

} // namespace stv
