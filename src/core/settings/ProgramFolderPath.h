#pragma once
// The program folder, where the program keeps its fixed-name files (configuration, lists,
// library, recent projects, preview page), found without any toolkit so that the command line
// starts fast. Paths are native (UTF-8) and end with '/'.

#include <string>

namespace stv
{

// The folder of the running executable (from /proc/self/exe), empty when it cannot be read.
std::string executableFolder();
// The executable's folder when it is writable (a portable install, or running from build/) and
// not an installed program's; otherwise the per-user data folder ($XDG_DATA_HOME or
// ~/.local/share, then "Sitorva"), created on first use.
std::string programFolderPath();
// Tests point the program at a folder of their own; an empty folder ends that.
void setProgramFolderPath(const std::string &folder);
// The folder set by setProgramFolderPath, empty when none is.
std::string programFolderOverride();

} // namespace stv
