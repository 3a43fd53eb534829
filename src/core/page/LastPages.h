#pragma once
// The page each project wrote last, kept in the program's settings rather than in the project
// file: the project file keeps its designed ten header lines, and the page a project wrote is
// still known when the project was not saved after Create Web Page. Paths are stored bytes, as
// the project holds them.

#include "core/settings/Settings.h"

#include <string>

namespace stv
{

// How many projects are remembered; the one that wrote longest ago is forgotten first.
inline constexpr int RememberedPageProjects = 40;

// The page the project at `projectPath` wrote last, or empty when none is remembered.
std::string lastPageOf(const Settings &settings, const std::string &projectPath);
// Remembers `pagePath` as the page the project at `projectPath` wrote last.
void rememberLastPage(
    Settings &settings, const std::string &projectPath, const std::string &pagePath);

} // namespace stv
