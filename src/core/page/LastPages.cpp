#include "core/page/LastPages.h"

#include "core/project/Records.h"

#include <vector>

namespace stv
{

namespace
{

// Project and page paths in pairs, the latest first.
std::vector<std::string> pairs(const Settings &settings)
{
    const std::string record = settings.value(settingKey::LastPages);
    const int count = fieldCount(record);
    if (count < 2)
        return {};
    std::vector<std::string> fields = splitFields(record, count - 1);
    fields.resize(fields.size() / 2 * 2);
    return fields;
}

} // namespace

std::string lastPageOf(const Settings &settings, const std::string &projectPath)
{
    const std::vector<std::string> fields = pairs(settings);
    for (std::size_t i = 0; i < fields.size(); i += 2)
        if (fields[i] == projectPath)
            return fields[i + 1];
    return {};
}

void rememberLastPage(
    Settings &settings, const std::string &projectPath, const std::string &pagePath)
{
    // The separator cannot stand inside a field: such a path is not remembered.
    const auto fits = [](const std::string &path) {
        return !path.empty() && path.find(FieldSep) == std::string::npos;
    };
    if (!fits(projectPath) || !fits(pagePath))
        return;
    std::vector<std::string> kept { projectPath, pagePath };
    const std::vector<std::string> fields = pairs(settings);
    for (std::size_t i = 0; i < fields.size() && kept.size() < 2 * RememberedPageProjects; i += 2)
        if (fields[i] != projectPath) {
            kept.push_back(fields[i]);
            kept.push_back(fields[i + 1]);
        }
    settings.set(settingKey::LastPages, joinFields(kept));
}

} // namespace stv
